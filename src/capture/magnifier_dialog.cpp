#include "capture/magnifier_dialog.h"

#include "capture/core/magnifier_geometry.h"
#include "i18n/translate.h"
#include "platform/qt/screen_pixels.h"
#include "ui/dialog_texts.h"

#include <QCursor>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

#include <cmath>

namespace vistrel {

namespace {

constexpr int kHideShowId = 1206, kIncreaseId = 1185, kDecreaseId = 1186;
constexpr QSize kZoomSize {250, 248};
constexpr int kFollowMs = 10;

double Ratio() { return qApp->devicePixelRatio(); }

std::vector<Rect> MonitorsInScreenPixels()
{
    std::vector<Rect> monitors;
    for (const QScreen* screen : QGuiApplication::screens())
        monitors.push_back(ToScreenPixels(screen->geometry(), Ratio()));
    return monitors;
}

} // namespace

CMagnifierDlg::CMagnifierDlg(const QImage& frozen, QWidget* owner)
    : QWidget(owner, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::X11BypassWindowManagerHint |
                         Qt::WindowDoesNotAcceptFocus),
      m_frozen(frozen), m_ratio(kMagnifierStartRatio), m_position(new QLabel(this)), m_ratioText(new QLabel(this)),
      m_follow(new QTimer(this))
{
    setObjectName("magnifier");
    setAttribute(Qt::WA_ShowWithoutActivating);
    setWindowTitle("Magnifier");
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, QColor(215, 235, 255));
    setPalette(colours);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, kZoomSize.height() + 4, 2, 6);
    layout->setSpacing(4);
    m_position->setAlignment(Qt::AlignCenter);
    m_position->setObjectName("magnifierPosition");
    m_ratioText->setAlignment(Qt::AlignCenter);
    m_ratioText->setObjectName("magnifierRatio");
    auto* line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    layout->addWidget(m_position);
    layout->addWidget(line);
    layout->addWidget(m_ratioText);
    DialogControls hints;
    for (const auto& [id, english] : {std::pair{kHideShowId, "Press 'H' to show/hide"},
                                      std::pair{kIncreaseId, "Press 'Num +' to Increase ratio"},
                                      std::pair{kDecreaseId, "Press 'Num -' to Decrease ratio"}}) {
        auto* hint = new QLabel(english, this);
        layout->addWidget(hint);
        hints[id] = hint;
    }
    TranslateDialogWidgets(*this, DialogId::Magnifier, hints);
    setFixedSize(kZoomSize.width() + 4, sizeHint().height());
    m_ratioText->setText(QString::fromStdString(MagnifierRatioText(m_ratio)));

    // Starts at the bottom-left corner of the pointer's monitor.
    m_cursor = CursorInScreenPixels();
    const Rect monitor = MonitorAt(m_cursor, MonitorsInScreenPixels());
    const QRect logical = ToLogical(monitor, Ratio());
    move(logical.left(), logical.top() + logical.height() - height());
    UpdateInfo(std::nullopt, m_cursor);
    connect(m_follow, &QTimer::timeout, this, &CMagnifierDlg::FollowCursor);
    m_follow->start(kFollowMs);
}

Point CMagnifierDlg::CursorInScreenPixels() const
{
    return ToScreenPixels(QPointF(QCursor::pos()), Ratio());
}

void CMagnifierDlg::FollowCursor()
{
    const Point cursor = CursorInScreenPixels();
    if (cursor == m_followed)
        return;
    m_followed = cursor;
    if (auto at = PanelPlacement(cursor, ToScreenPixels(geometry(), Ratio()), MonitorsInScreenPixels())) {
        const double dpr = Ratio();
        move(int(std::lround(at->x / dpr)), int(std::lround(at->y / dpr)));
    }
    m_cursor = cursor;
    update();
}

void CMagnifierDlg::UpdateInfo(const std::optional<Rect>& band, Point cursor)
{
    m_cursor = cursor;
    m_position->setText(QString::fromStdString(MagnifierPositionText(cursor, band)));
    update();
}

void CMagnifierDlg::HandleKey(int keyCode)
{
    m_ratio = RatioAfterKey(m_ratio, keyCode);
    m_ratioText->setText(QString::fromStdString(MagnifierRatioText(m_ratio)));
    update();
}

QRect CMagnifierDlg::ZoomArea() const { return QRect(QPoint(2, 2), kZoomSize); }

void CMagnifierDlg::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRect area = ZoomArea();
    painter.fillRect(area, Qt::black); // beyond the screen's edges
    if (!m_frozen.isNull()) {
        const double dpr = devicePixelRatioF();
        const Rect source = ZoomSource(m_cursor, int(std::lround(area.width() * dpr)),
                                       int(std::lround(area.height() * dpr)), m_ratio);
        // Whole screen pixels, each drawn as a square of ratio x ratio: no smoothing.
        painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
        const QRectF target(area.left(), area.top(), source.width() * m_ratio / dpr, source.height() * m_ratio / dpr);
        painter.drawImage(target, m_frozen, QRectF(source.left, source.top, source.width(), source.height()));
    }
    painter.setPen(Qt::black);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(area.adjusted(0, 0, -1, -1));
}

} // namespace vistrel
