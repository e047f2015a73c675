#include "library/avi_player.h"

#include "base/trace.h"
#include "icons/icon_clipboard.h"
#include "library/core/fit_rule.h"
#include "record/recorder_module.h"

#include <QPainter>

#include <cmath>

namespace vistrel {

CAviPlayer::CAviPlayer(const QString& path, QWidget* parent) : QWidget(parent)
{
    setObjectName("aviPlayer");
    setAttribute(Qt::WA_OpaquePaintEvent);
    std::string error;
    if (const RecorderEntryPoints* module = LoadRecorder(error))
        m_frames = module->openVideoFrames(path.toStdString(), error);
    if (!m_frames) {
        if (TraceEnabled())
            Trace("player cannot open " + path.toStdString() + ": " + error);
        return;
    }
    m_timer.setTimerType(Qt::PreciseTimer);
    m_timer.setInterval(std::max(1, int(std::lround(1000.0 / m_frames->framesPerSecond()))));
    connect(&m_timer, &QTimer::timeout, this, &CAviPlayer::ShowNextFrame);
    if (TraceEnabled())
        Trace("player opened " + path.toStdString());
}

CAviPlayer::~CAviPlayer() = default;

void CAviPlayer::Play()
{
    if (!m_frames || m_timer.isActive() || m_ended)
        return;
    if (m_framesShown == 0)
        ShowNextFrame();
    m_timer.start();
}

void CAviPlayer::Stop() { m_timer.stop(); }

void CAviPlayer::ShowNextFrame()
{
    auto frame = m_frames->Next();
    if (!frame) {
        m_timer.stop();
        m_ended = true;
        return;
    }
    m_frame = ImageFromBitmap(*frame);
    ++m_framesShown;
    update();
}

void CAviPlayer::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    if (m_frame.isNull())
        return;
    const PlacedRect at = FitIntoArea(m_frame.width(), m_frame.height(), {0, 0, width(), height()});
    painter.drawImage(QRect(at.x, at.y, at.width, at.height), m_frame);
}

} // namespace vistrel
