#pragma once
// The red frame of an object capture: a top-most window of ours shaped as a
// ring around the target, which lets every click through and is hidden before
// the grab. X gives no way to draw into another program's window safely, and
// this never touches its pixels.

#include "platform/x11/screen_rect.h"

#include <QWidget>

namespace vistrel {

class CHighlightFrame : public QWidget {
    Q_OBJECT
public:
    CHighlightFrame();
    // Frames a rectangle given in screen pixels.
    void Frame(const x11::ScreenRect& target);

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace vistrel
