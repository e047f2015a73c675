#pragma once
// What the user clicks out on the frozen screen, as plain state: the shape, the
// anchor (first click), the last mouse position and the polygon's vertices,
// all in screen pixels. The overlay window feeds it its mouse events and draws
// what it says; no window is needed to test it.
//
// A rectangle, circle or ellipse is made by two clicks (the second completes
// the shape from the anchor to the last mouse position) or, as in most tools,
// by pressing, dragging at least kDragPixels and releasing (the release point
// is the second corner); a polygon by clicks, then a double click or Enter with
// at least three vertices. The same points give the same pixels either way.

#include "capture/core/capture_geometry.h"
#include "capture/core/capture_request.h"

#include <optional>
#include <vector>

namespace vistrel {

class RegionSelection {
public:
    explicit RegionSelection(CaptureShape shape) : m_shape(shape) {}

    enum class Step { Continue, Finished, Cancelled };

    static constexpr int kDragPixels = 3;

    void MouseMove(Point p);
    Step LeftButtonDown(Point p);
    Step LeftButtonUp(Point p);
    Step LeftDoubleClick(Point p);
    Step EnterKey();
    Step Cancel(); // Escape, the right button, or a request to close

    CaptureShape shape() const { return m_shape; }
    bool crosshairMode() const { return m_crosshair; }
    bool hasAnchor() const { return m_anchor.x != -1; }
    Point anchor() const { return m_anchor; }
    Point current() const { return m_current; }
    const std::vector<Point>& vertices() const { return m_vertices; }

    // The finished selection as a capture request; its area comes from the same
    // rules as every other capture (AreaForRequest).
    CaptureRequest Request() const;

    // The rectangle the magnifier reports while the band is drawn: the shape's
    // bounding box (a circle's square), normalised; nullopt before the anchor.
    std::optional<Rect> BandBounds() const;

private:
    CaptureShape m_shape;
    bool m_crosshair = true;
    Point m_anchor {-1, -1};
    Point m_current {-1, -1};
    std::vector<Point> m_vertices;
    std::vector<Point> m_finishedPolygon;
    bool m_pressedAtAnchor = false; // the button is down since it set the anchor
};

// Whether a window may be framed in an object capture: a real window that is
// not the one framed already, not our main window, nor a child of it.
bool IsPickableWindow(uint32_t window, bool exists, uint32_t highlighted, uint32_t mainWindow, uint32_t parent);

} // namespace vistrel
