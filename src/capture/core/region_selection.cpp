#include "capture/core/region_selection.h"

#include "capture/core/capture_area.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

namespace vistrel {

namespace {

Rect Normalised(Point a, Point b)
{
    return {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

} // namespace

void RegionSelection::MouseMove(Point p) { m_current = p; }

RegionSelection::Step RegionSelection::LeftButtonDown(Point p)
{
    if (m_shape == SHAPE_FULLSCREEN)
        return Step::Continue;
    m_crosshair = false;
    if (!hasAnchor()) {
        m_anchor = m_current = p;
        m_pressedAtAnchor = m_shape != SHAPE_POLYGON;
        if (m_shape == SHAPE_POLYGON)
            m_vertices.push_back(p);
        return Step::Continue;
    }
    if (m_shape == SHAPE_POLYGON) {
        m_vertices.push_back(p);
        return Step::Continue;
    }
    // The second click completes the shape where the mouse last moved to.
    return Step::Finished;
}

RegionSelection::Step RegionSelection::LeftButtonUp(Point p)
{
    if (!std::exchange(m_pressedAtAnchor, false))
        return Step::Continue;
    // A release near the anchor was a click: the next click finishes.
    if (std::max(std::abs(p.x - m_anchor.x), std::abs(p.y - m_anchor.y)) < kDragPixels)
        return Step::Continue;
    m_current = p;
    return Step::Finished;
}

RegionSelection::Step RegionSelection::EnterKey()
{
    if (m_shape != SHAPE_POLYGON || m_vertices.size() < 3)
        return Step::Continue;
    m_finishedPolygon = m_vertices;
    return Step::Finished;
}

RegionSelection::Step RegionSelection::LeftDoubleClick(Point p)
{
    if (m_shape != SHAPE_POLYGON || !hasAnchor() || m_vertices.size() < 3)
        return Step::Continue;
    // The first press of the double click has added its point already; the
    // request's rules add the double click's point again and close the polygon.
    m_finishedPolygon = m_vertices;
    m_finishedPolygon.push_back(p);
    return Step::Finished;
}

RegionSelection::Step RegionSelection::Cancel() { return Step::Cancelled; }

CaptureRequest RegionSelection::Request() const
{
    CaptureRequest request;
    switch (m_shape) {
    case SHAPE_FULLSCREEN: request.kind = CaptureKind::FullScreen; break;
    case SHAPE_RECTANGLE: request.kind = CaptureKind::Rectangle; break;
    case SHAPE_CIRCLE: request.kind = CaptureKind::Circle; break;
    case SHAPE_ELLIPSE: request.kind = CaptureKind::Ellipse; break;
    case SHAPE_POLYGON: request.kind = CaptureKind::Polygon; break;
    }
    if (m_shape == SHAPE_POLYGON)
        request.points = m_finishedPolygon.empty() ? m_vertices : m_finishedPolygon;
    else if (m_shape != SHAPE_FULLSCREEN)
        request.points = {m_anchor, m_current};
    request.includeCursor = false; // only a full-screen capture shows the cursor
    return request;
}

std::optional<Rect> RegionSelection::BandBounds() const
{
    if (!hasAnchor())
        return std::nullopt;
    switch (m_shape) {
    case SHAPE_CIRCLE: {
        const int r = std::min(CircleRadius(m_anchor, m_current), kMaxCaptureSide);
        return Rect {m_anchor.x - r, m_anchor.y - r, m_anchor.x + r, m_anchor.y + r};
    }
    case SHAPE_POLYGON: {
        Rect box {m_current.x, m_current.y, m_current.x, m_current.y};
        for (const Point& v : m_vertices) {
            box.left = std::min(box.left, v.x);
            box.top = std::min(box.top, v.y);
            box.right = std::max(box.right, v.x);
            box.bottom = std::max(box.bottom, v.y);
        }
        return box;
    }
    default: return Normalised(m_anchor, m_current);
    }
}

bool IsPickableWindow(uint32_t window, bool exists, uint32_t highlighted, uint32_t mainWindow, uint32_t parent)
{
    return window != 0 && exists && window != highlighted && window != mainWindow && parent != mainWindow;
}

} // namespace vistrel
