#pragma once
// The About box's banner with the credits scrolling over it. A worker thread of
// its own draws each frame (the banner picture with the text at its position)
// into an image and asks the banner, by a queued call, to show it; the banner
// only copies the latest frame to the screen. While the mouse is over the
// banner the thread waits, and it goes on where it stopped once the mouse
// leaves. Stop() (also run by the destructor) ends the thread and waits for it,
// so no frame is drawn for a banner that is gone.
//
// Threads: the public functions and the events on the user-interface thread;
// Run() on the worker. The background and the lines are fixed before the
// worker starts and only read after; the frame and the pause flag are Guarded.

#include "base/guarded.h"

#include <QImage>
#include <QStringList>
#include <QWidget>

#include <condition_variable>
#include <stop_token>
#include <thread>

namespace vistrel {

class CCreditsBanner : public QWidget {
    Q_OBJECT
public:
    CCreditsBanner(const QStringList& lines, QSize size, QWidget* parent);
    ~CCreditsBanner() override;

    void Stop();
    bool running() const { return m_thread.joinable(); }
    bool paused() const { return *m_paused.Lock(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void SetPaused(bool paused);
    void Run(std::stop_token stop);
    QImage DrawFrame(int offset) const;

    const QImage m_background;
    const QStringList m_lines;
    const int m_lineHeight;
    Guarded<QImage> m_frame;
    Guarded<bool> m_paused{false};
    std::condition_variable_any m_wake;
    std::jthread m_thread; // last: started once everything it reads exists
};

} // namespace vistrel
