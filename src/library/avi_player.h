#pragma once
// CAviPlayer: the preview's embedded video player. It plays a file once, at
// the file's frame rate, each frame fitted into the player's own area (the
// player never resizes itself to the video) and holds the last frame. The
// frames come from the recorder module's FFmpeg decoder, so FFmpeg is loaded
// the first time a video is previewed, never at the program's start.
//
// User-interface thread only. A file that cannot be opened shows an empty
// player and says why in the trace.

#include "library/core/video_frames.h"

#include <QImage>
#include <QTimer>
#include <QWidget>

#include <memory>

namespace vistrel {

class CAviPlayer : public QWidget {
    Q_OBJECT
public:
    CAviPlayer(const QString& path, QWidget* parent);
    ~CAviPlayer() override;

    bool opened() const { return m_frames != nullptr; }
    void Play();
    void Stop();
    int framesShown() const { return m_framesShown; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void ShowNextFrame();

    std::unique_ptr<VideoFrames> m_frames;
    QTimer m_timer;
    QImage m_frame;
    int m_framesShown = 0;
    bool m_ended = false;
};

} // namespace vistrel
