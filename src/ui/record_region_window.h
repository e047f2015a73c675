#pragma once
// CRecordRegionWnd: chooses an area of the screen on a still picture of the
// screen that covers it: the area to record, or the region of a timer
// capture. Fixed: a rectangle of the fixed size follows the pointer, kept
// whole on the screen, and a left click takes it. Custom: the
// user drags a rectangle with the left button and releasing takes it. Escape
// (and a right click) cancels. A size label names the rectangle as it moves.
// Shared by the recording and timer dialogs, so it lives with the shared
// widgets: the recorder module takes it from the program. User-interface
// thread only.

#include "record/core/record_options.h"

#include <QImage>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>

namespace vistrel {

namespace x11 {
class Connection;
}

class CRecordRegionWnd : public QWidget {
    Q_OBJECT
public:
    // nullopt: cancelled, or a rectangle without area (a click without a drag).
    using Done = std::function<void(std::optional<RecordRegion> region)>;

    // parent: the modal dialog that opens it, so that its modality lets the
    // window take the mouse (a window of its own, never inside the parent).
    explicit CRecordRegionWnd(QWidget* parent = nullptr);
    ~CRecordRegionWnd() override;

    // Freezes the screen, covers it and lets the user choose; done is called
    // once, later, after the window has hidden.
    void BeginFixed(int width, int height, Done done);
    void BeginCustom(Done done);
    bool selecting() const { return bool(m_done); }
    // Ends a selection as Escape does.
    void Cancel() { Finish(std::nullopt); }

    // The size label's text for a rectangle.
    static QString LabelText(const RecordRegion& r);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Begin(Done done);
    void Finish(std::optional<RecordRegion> region);
    QPoint ScreenPixel(QPointF local) const;
    void MoveFixedTo(QPoint pixel);

    QImage m_screen; // the frozen screen, in screen pixels
    bool m_fixed = false;
    int m_fixedWidth = 0, m_fixedHeight = 0;
    bool m_dragging = false;
    QPoint m_anchor;
    std::optional<RecordRegion> m_current;
    Done m_done;
    std::unique_ptr<x11::Connection> m_pointerConn; // scaled: where the pointer really is
};

} // namespace vistrel
