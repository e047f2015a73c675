#pragma once
// CRecordRegionWnd: chooses an area of the screen on a still picture of the
// screen that covers it: the area to record, or the region of a timer
// capture. Fixed: a rectangle of the fixed size follows the pointer, kept
// whole on the screen, and a left click takes it. Custom: the gestures of the
// still captures' rectangle (RegionSelection): press, drag and release, or a
// click on each corner. Escape (and a right click) cancels. It draws and
// measures as the still captures' overlay does (selection_painting.h), so the
// same drag gives the same size in both.
//
// The window that opened it (its parent, a dialog) is hidden while the user
// chooses, so that it is neither in the picture nor in the way, and shown
// again afterwards. Shared by the recording and timer dialogs, so it lives
// with the shared widgets: the recorder module takes it from the program.
// User-interface thread only.

#include "capture/core/region_selection.h"
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
    // nullopt: cancelled, or a rectangle without area (two clicks on one point).
    using Done = std::function<void(std::optional<RecordRegion> region)>;

    // parent: the modal dialog that opens it, so that its modality lets the
    // window take the mouse (a window of its own, never inside the parent).
    explicit CRecordRegionWnd(QWidget* parent = nullptr);
    ~CRecordRegionWnd() override;

    // Hides the parent, freezes the screen, covers it and lets the user
    // choose; done is called once, later, after the window has hidden and the
    // parent is back.
    void BeginFixed(int width, int height, Done done);
    void BeginCustom(Done done);
    bool selecting() const { return bool(m_done); }
    // Ends a selection as Escape does.
    void Cancel() { Finish(std::nullopt); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Begin(Done done);
    void ShowOverSnapshot();
    void Apply(RegionSelection::Step step);
    void Finish(std::optional<RecordRegion> region);
    Point ScreenPixel(QPointF local) const;
    void MoveFixedTo(Point pixel);

    QImage m_screen; // the frozen screen, in screen pixels
    bool m_fixed = false;
    int m_fixedWidth = 0, m_fixedHeight = 0;
    std::optional<RecordRegion> m_fixedRegion; // where the fixed rectangle is now
    std::unique_ptr<RegionSelection> m_selection; // custom mode
    bool m_hidParent = false;
    unsigned m_begun = 0; // counts the selections begun, so that a wait outlived by its selection ends quietly
    Done m_done;
    std::unique_ptr<x11::Connection> m_pointerConn; // scaled: where the pointer really is
};

} // namespace vistrel
