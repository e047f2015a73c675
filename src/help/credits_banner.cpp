#include "help/credits_banner.h"

#include "base/trace.h"
#include "help/core/credits_text.h"
#include "ui/pictures/pictures.h"

#include <QFontMetrics>
#include <QLinearGradient>
#include <QPainter>

#include <chrono>

namespace vistrel {

namespace {

constexpr auto kStepInterval = std::chrono::milliseconds(40);
constexpr int kStepPx = 1;
constexpr int kIconSidePx = 48;

QImage DrawBackground(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient gradient(0, 0, size.width(), size.height());
    gradient.setColorAt(0, QColor(28, 62, 112));
    gradient.setColorAt(1, QColor(92, 150, 210));
    painter.fillRect(image.rect(), gradient);
    painter.setOpacity(0.35);
    painter.drawImage(QPoint(size.width() - kIconSidePx - 12, size.height() - kIconSidePx - 12),
                      ApplicationIconImage(kIconSidePx));
    return image;
}

} // namespace

CCreditsBanner::CCreditsBanner(const QStringList& lines, QSize size, QWidget* parent)
    : QWidget(parent), m_background(DrawBackground(size)), m_lines(lines),
      m_lineHeight(QFontMetrics(font()).lineSpacing()), m_frame(m_background)
{
    setObjectName("creditsBanner");
    setFixedSize(size);
    m_thread = std::jthread([this](std::stop_token stop) { Run(stop); });
}

CCreditsBanner::~CCreditsBanner() { Stop(); }

void CCreditsBanner::Stop()
{
    if (!m_thread.joinable())
        return;
    m_thread.request_stop();
    m_thread.join();
    Trace("credits thread ended");
}

void CCreditsBanner::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawImage(QPoint(0, 0), *m_frame.Lock());
}

void CCreditsBanner::enterEvent(QEnterEvent* event)
{
    SetPaused(true);
    QWidget::enterEvent(event);
}

void CCreditsBanner::leaveEvent(QEvent* event)
{
    SetPaused(false);
    QWidget::leaveEvent(event);
}

void CCreditsBanner::SetPaused(bool paused)
{
    *m_paused.Lock() = paused;
    m_wake.notify_all();
    Trace(paused ? "credits paused" : "credits running");
}

QImage CCreditsBanner::DrawFrame(int offset) const
{
    QImage frame = m_background.copy();
    QPainter painter(&frame);
    painter.setFont(font());
    painter.setPen(Qt::white);
    int y = frame.height() - offset;
    for (const QString& line : m_lines) {
        if (y + m_lineHeight > 0 && y < frame.height())
            painter.drawText(QRect(0, y, frame.width(), m_lineHeight), Qt::AlignHCenter | Qt::AlignVCenter, line);
        y += m_lineHeight;
    }
    return frame;
}

void CCreditsBanner::Run(std::stop_token stop)
{
    const int textHeight = m_lineHeight * int(m_lines.size());
    int offset = 0;
    while (!stop.stop_requested()) {
        {
            auto paused = m_paused.Lock();
            m_wake.wait(paused.lock(), stop, [&] { return !*paused; });
        }
        if (stop.stop_requested())
            break;
        *m_frame.Lock() = DrawFrame(offset);
        // Queued to the banner: Stop() joins before the banner goes, and a
        // call still queued then goes with it.
        QMetaObject::invokeMethod(this, qOverload<>(&QWidget::update), Qt::QueuedConnection);
        offset = NextCreditsOffset(offset, kStepPx, textHeight, m_background.height());
        auto paused = m_paused.Lock();
        m_wake.wait_for(paused.lock(), stop, kStepInterval, [] { return false; });
    }
}

} // namespace vistrel
