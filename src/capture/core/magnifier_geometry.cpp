#include "capture/core/magnifier_geometry.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace vistrel {

namespace {

constexpr int kCornerSlack = 5;
constexpr int kKeepAway = 10;

bool Contains(const Rect& r, Point p) { return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom; }

Point TopLeftAt(Corner corner, const Rect& monitor, int width, int height)
{
    switch (corner) {
    case Corner::TopLeft: return {monitor.left, monitor.top};
    case Corner::TopRight: return {monitor.right - width, monitor.top};
    case Corner::BottomRight: return {monitor.right - width, monitor.bottom - height};
    case Corner::BottomLeft: return {monitor.left, monitor.bottom - height};
    }
    return {monitor.left, monitor.top};
}

Corner Next(Corner corner)
{
    switch (corner) {
    case Corner::TopLeft: return Corner::TopRight;
    case Corner::TopRight: return Corner::BottomRight;
    case Corner::BottomRight: return Corner::BottomLeft;
    case Corner::BottomLeft: return Corner::TopLeft;
    }
    return Corner::TopLeft;
}

} // namespace

std::string MagnifierPositionText(Point cursor, const std::optional<Rect>& band)
{
    char text[96];
    if (band)
        std::snprintf(text, sizeof text, "X:%d Y:%d %d X %d", cursor.x, cursor.y,
                      std::abs(band->right - band->left), std::abs(band->bottom - band->top));
    else
        std::snprintf(text, sizeof text, "X:%d Y:%d", cursor.x, cursor.y);
    return text;
}

std::string MagnifierRatioText(int ratio) { return "Ratio: " + std::to_string(ratio); }

int RatioAfterKey(int ratio, int keyCode)
{
    if (keyCode == 107 || keyCode == 43)
        return std::min(ratio + 1, kMagnifierMaxRatio);
    if (keyCode == 109 || keyCode == 45)
        return std::max(ratio - 1, kMagnifierMinRatio);
    return ratio;
}

Rect ZoomSource(Point cursor, int zoomWidth, int zoomHeight, int ratio)
{
    ratio = std::clamp(ratio, kMagnifierMinRatio, kMagnifierMaxRatio);
    const int w = zoomWidth / ratio, h = zoomHeight / ratio;
    const int left = cursor.x - w / 2, top = cursor.y - h / 2;
    return {left, top, left + w, top + h};
}

Corner CornerOf(const Rect& panel, const Rect& monitor)
{
    const bool left = panel.left < monitor.left + kCornerSlack;
    const bool top = panel.top < monitor.top + kCornerSlack;
    const bool right = panel.right > monitor.right - kCornerSlack;
    const bool bottom = panel.bottom > monitor.bottom - kCornerSlack;
    if (left && top)
        return Corner::TopLeft;
    if (top && right)
        return Corner::TopRight;
    if (right && bottom)
        return Corner::BottomRight;
    return Corner::BottomLeft;
}

Rect MonitorAt(Point p, const std::vector<Rect>& monitors)
{
    for (const Rect& m : monitors)
        if (Contains(m, p))
            return m;
    return monitors.empty() ? Rect {} : monitors.front();
}

std::optional<Point> PanelPlacement(Point cursor, const Rect& panel, const std::vector<Rect>& monitors)
{
    if (monitors.empty())
        return std::nullopt;
    const Rect monitor = MonitorAt(cursor, monitors);
    const int width = panel.width(), height = panel.height();
    const Point centre {panel.left + width / 2, panel.top + height / 2};
    if (!Contains(monitor, centre)) // the pointer went to another monitor: the panel follows
        return TopLeftAt(Corner::BottomLeft, monitor, width, height);
    const Rect near {panel.left - kKeepAway, panel.top - kKeepAway, panel.right + kKeepAway, panel.bottom + kKeepAway};
    if (!Contains(near, cursor))
        return std::nullopt;
    return TopLeftAt(Next(CornerOf(panel, monitor)), monitor, width, height);
}

} // namespace vistrel
