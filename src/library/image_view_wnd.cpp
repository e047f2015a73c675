#include "library/image_view_wnd.h"

#include "base/trace.h"
#include "codec/image.h"
#include "codec/image_type.h"
#include "commands/command_ids.h"
#include "i18n/translate.h"
#include "icons/icon_clipboard.h"
#include "library/core/fit_rule.h"
#include "library/core/viewer_geometry.h"
#include "library/model/capture_library.h"
#include "settings/env.h"
#include "ui/color_picker.h"

#include <QActionGroup>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QScreen>

namespace vistrel {

namespace {

constexpr int kArrowStep = 5;
const uint32_t kMenuCommands[] = {ID_VIEWER_PREVIOUS, ID_VIEWER_NEXT, 0, ID_VIEWER_FULL_EXTENT,
                                  ID_VIEWER_FIT_TO_WINDOW, 0, ID_VIEWER_RESTORE_WINDOW};

QImage DecodePicture(const QString& path)
{
    const std::string file = path.toStdString();
    const int type = ImageTypeFromFileName(file);
    if (type < 0)
        return {};
    const CImage image(file.c_str(), cximage_type(type));
    return image.IsValid() ? ImageFromBitmap(image.bitmap()) : QImage();
}

} // namespace

CImageViewWnd::CImageViewWnd(const CaptureLibrary& library, ViewerMemory& memory, QWidget* owner)
    : QWidget(owner, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint), m_library(library),
      m_memory(memory)
{
    setObjectName("imageViewer");
    setWindowTitle("Vistrel image viewer"); // no caption shows it; window lists and tests do
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    QScreen* screen = owner && owner->screen() ? owner->screen() : QGuiApplication::primaryScreen();
    m_screen = screen ? screen->geometry() : QRect(0, 0, 1024, 768);
    setGeometry(m_screen);
    UpdateCursor();
    show();
    raise();
    activateWindow();
}

void CImageViewWnd::Open(const QString& path)
{
    m_picture = QImage();
    m_path = path;
    if (QFileInfo(path).isFile())
        m_picture = DecodePicture(path);
    if (TraceEnabled())
        Trace("viewer shows " + path.toStdString() + (m_picture.isNull() ? " (nothing)" : ""));
    update();
}

void CImageViewWnd::Step(int delta)
{
    const auto& bitmaps = m_library.files(FOLDER_BITMAPS);
    const int count = int(bitmaps.size());
    if (count <= 1)
        return;
    int position = m_memory.position + delta;
    if (position < 0)
        position = count - 1;
    else if (position >= count)
        position = 0;
    m_memory.position = position;
    Open(QString::fromStdString(bitmaps[size_t(position)]));
}

void CImageViewWnd::Previous() { Step(-1); }

void CImageViewWnd::Next() { Step(1); }

void CImageViewWnd::SetFullExtent(bool on)
{
    m_memory.fullExtent = on;
    UpdateCursor();
    update();
}

void CImageViewWnd::UpdateCursor()
{
    if (m_memory.fullExtent)
        setCursor(Qt::OpenHandCursor);
    else
        unsetCursor();
}

QPoint CImageViewWnd::FullExtentOrigin() const
{
    return {vistrel::FullExtentOrigin(m_picture.width(), m_screen.width(), width(), m_pan.x()),
            vistrel::FullExtentOrigin(m_picture.height(), m_screen.height(), height(), m_pan.y())};
}

void CImageViewWnd::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (m_picture.isNull()) {
        painter.fillRect(rect(), Qt::black); // the window's own background
        return;
    }
    painter.fillRect(rect(), ColorFromRef(theEnv.m_crPreviewBack));
    if (m_memory.fullExtent) {
        painter.drawImage(FullExtentOrigin(), m_picture);
        return;
    }
    const PlacedRect at = FitIntoArea(m_picture.width(), m_picture.height(), {0, 0, width(), height()});
    painter.drawImage(QRect(at.x, at.y, at.width, at.height), m_picture);
}

void CImageViewWnd::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        m_lastPoint = event->position().toPoint();
}

void CImageViewWnd::DragTo(QPoint point)
{
    if (m_ignoreNextMove) {
        m_ignoreNextMove = false;
        return;
    }
    m_pan += point - m_lastPoint;
    m_lastPoint = point;
    update();
}

void CImageViewWnd::mouseMoveEvent(QMouseEvent* event)
{
    if (m_ignoreNextMove || (event->buttons() & Qt::LeftButton))
        DragTo(event->position().toPoint());
}

void CImageViewWnd::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::RightButton)
        ShowMenu(event->globalPosition().toPoint());
}

void CImageViewWnd::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        close();
}

void CImageViewWnd::keyPressEvent(QKeyEvent* event)
{
    // With or without Ctrl, as the menu's Ctrl+E, Ctrl+F and Ctrl+Q say.
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
    case Qt::Key_Q:
    case Qt::Key_F2: close(); return;
    case Qt::Key_Space:
    case Qt::Key_N: Next(); return;
    case Qt::Key_P: Previous(); return;
    case Qt::Key_E: SetFullExtent(true); return;
    case Qt::Key_F: SetFullExtent(false); return;
    case Qt::Key_Left:
    case Qt::Key_Up:
    case Qt::Key_Right:
    case Qt::Key_Down: {
        // As a drag from (0, 0) by one step.
        const int k = event->key();
        m_lastPoint = {0, 0};
        DragTo({k == Qt::Key_Left ? -kArrowStep : k == Qt::Key_Right ? kArrowStep : 0,
                k == Qt::Key_Up ? -kArrowStep : k == Qt::Key_Down ? kArrowStep : 0});
        return;
    }
    default: break;
    }
    QWidget::keyPressEvent(event);
}

void CImageViewWnd::wheelEvent(QWheelEvent* event)
{
    const int turn = event->angleDelta().y();
    if (turn > 0)
        Previous();
    else if (turn < 0)
        Next();
}

void CImageViewWnd::ShowMenu(QPoint at)
{
    QMenu menu(this);
    menu.setObjectName("viewerMenu");
    auto* radio = new QActionGroup(&menu);
    const auto texts = TranslateViewerMenu(Translator::Current(), kMenuCommands);
    for (const uint32_t id : kMenuCommands) {
        if (id == 0) {
            menu.addSeparator();
            continue;
        }
        QString text;
        for (const auto& [command, translated] : texts)
            if (command == id)
                text = QString::fromStdString(translated);
        QAction* action = menu.addAction(text);
        action->setData(int(id));
        if (id == ID_VIEWER_FULL_EXTENT || id == ID_VIEWER_FIT_TO_WINDOW) {
            action->setCheckable(true);
            action->setChecked((id == ID_VIEWER_FULL_EXTENT) == m_memory.fullExtent);
            radio->addAction(action);
        }
    }
    const QAction* chosen = menu.exec(at);
    if (!chosen)
        return;
    switch (chosen->data().toInt()) {
    case ID_VIEWER_PREVIOUS: Previous(); break;
    case ID_VIEWER_NEXT: Next(); break;
    case ID_VIEWER_FULL_EXTENT: SetFullExtent(true); break;
    case ID_VIEWER_FIT_TO_WINDOW: SetFullExtent(false); break;
    case ID_VIEWER_RESTORE_WINDOW: close(); break;
    default: break;
    }
}

} // namespace vistrel
