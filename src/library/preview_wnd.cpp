#include "library/preview_wnd.h"

#include "base/trace.h"
#include "codec/image.h"
#include "codec/image_type.h"
#include "icons/icon_clipboard.h"
#include "library/avi_player.h"
#include "library/core/fit_rule.h"
#include "library/core/icon_file_picture.h"

#include <QFileInfo>
#include <QMouseEvent>
#include <QPainter>

namespace vistrel {

namespace {

constexpr int kEdgeInset = 3;    // the raised edge, and the player's area
constexpr int kContentInset = 5; // the picture's and the icon's area
constexpr int kIconSide = 32;

} // namespace

CPreviewWnd::Mode PreviewModeForName(const QString& path)
{
    const QString end = path.right(3).toLower();
    if (end == "bmp" || end == "jpg" || end == "tif" || end == "png")
        return CPreviewWnd::Picture;
    if (end == "ico")
        return CPreviewWnd::Icon;
    if (end == "avi")
        return CPreviewWnd::Video;
    return CPreviewWnd::None;
}

CPreviewWnd::CPreviewWnd(const CaptureLibrary& library, QWidget* owner, QWidget* parent)
    : QWidget(parent), m_library(library), m_owner(owner)
{
    setObjectName("preview");
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(40, 40);
}

CPreviewWnd::~CPreviewWnd()
{
    if (m_viewer)
        delete m_viewer.data();
}

void CPreviewWnd::Forget()
{
    m_icon = QImage();
    delete m_player;
    m_player = nullptr;
    m_picture = QImage();
}

void CPreviewWnd::LoadPreview(const QString& path)
{
    if (const Mode asked = PreviewModeForName(path); asked != None)
        m_mode = asked;
    Forget();
    if (path.isEmpty() || !QFileInfo::exists(path)) {
        update();
        emit statusTextChanged({});
        return;
    }
    if (m_mode == Icon) {
        if (const auto icon = IconFilePicture(path.toStdString(), kIconSide))
            m_icon = ImageFromBitmap(*icon);
    } else if (m_mode == Video) {
        m_player = new CAviPlayer(path, this);
        m_player->hide();
        PlacePlayer();
        m_player->show();
        m_player->Play();
    } else {
        LoadPicture(path);
        return;
    }
    update();
}

void CPreviewWnd::LoadPicture(const QString& path)
{
    const std::string file = path.toStdString();
    const int type = ImageTypeFromFileName(file);
    if (type < 0) {
        m_path = path;
        update();
        emit statusTextChanged({});
        return;
    }
    const CImage image(file.c_str(), cximage_type(type));
    QImage picture = image.IsValid() ? ImageFromBitmap(image.bitmap()) : QImage();
    if (picture.isNull()) {
        if (TraceEnabled())
            Trace("preview cannot decode " + file);
        return;
    }
    m_picture = std::move(picture);
    m_path = path;
    update();
    const QString status = QString(" %1 x %2 x %3").arg(image.GetWidth()).arg(image.GetHeight()).arg(image.GetBpp());
    emit statusTextChanged(status);
    if (TraceEnabled())
        Trace("preview shows " + file + status.toStdString());
}

void CPreviewWnd::ClearPreview()
{
    if (!m_player)
        return;
    m_player->Stop();
    delete m_player;
    m_player = nullptr;
}

QRect CPreviewWnd::ContentArea() const
{
    return rect().adjusted(kContentInset, kContentInset, -kContentInset, -kContentInset);
}

void CPreviewWnd::PlacePlayer()
{
    if (m_player)
        m_player->setGeometry(rect().adjusted(kEdgeInset, kEdgeInset, -kEdgeInset, -kEdgeInset));
}

void CPreviewWnd::resizeEvent(QResizeEvent*)
{
    PlacePlayer();
    update();
}

void CPreviewWnd::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QPalette& colours = palette();
    painter.fillRect(rect(), colours.button());
    // A raised edge three pixels inside.
    const QRect edge = rect().adjusted(kEdgeInset, kEdgeInset, -kEdgeInset - 1, -kEdgeInset - 1);
    painter.setPen(colours.color(QPalette::Light));
    painter.drawLine(edge.topLeft(), edge.topRight() - QPoint(1, 0));
    painter.drawLine(edge.topLeft(), edge.bottomLeft() - QPoint(0, 1));
    painter.setPen(colours.color(QPalette::Dark));
    painter.drawLine(edge.topRight(), edge.bottomRight());
    painter.drawLine(edge.bottomLeft(), edge.bottomRight());

    const QRect area = ContentArea();
    if (m_mode != Icon && m_mode != Video && !m_picture.isNull()) {
        const PlacedRect at =
            FitIntoArea(m_picture.width(), m_picture.height(), {area.left(), area.top(), area.width(), area.height()});
        painter.drawImage(QRect(at.x, at.y, at.width, at.height), m_picture);
    } else if (m_mode == Icon && !m_icon.isNull()) {
        const PlacedRect at = FitIntoArea(kIconSide, kIconSide, {area.left(), area.top(), area.width(), area.height()});
        painter.drawImage(QRect(at.x, at.y, at.width, at.height), m_icon);
    }
}

void CPreviewWnd::mouseDoubleClickEvent(QMouseEvent* event)
{
    // Only a picture that is shown: an empty preview opens nothing.
    if (event->button() == Qt::LeftButton && m_mode != Icon && m_mode != Video && !m_picture.isNull())
        OpenViewer(m_path);
}

CImageViewWnd* CPreviewWnd::OpenViewer(const QString& path)
{
    if (m_viewer)
        delete m_viewer.data();
    m_viewer = new CImageViewWnd(m_library, m_viewerMemory, m_owner ? m_owner : window());
    m_viewer->Open(path);
    return m_viewer;
}

} // namespace vistrel
