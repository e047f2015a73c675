#pragma once
// The magnifier panel's rules as plain functions: its texts, its zoom ratio,
// which part of the frozen screen it enlarges, and how it keeps out of the
// mouse's way by jumping clockwise from corner to corner of the monitor the
// pointer is on. Everything in screen pixels.

#include "capture/core/capture_geometry.h"

#include <optional>
#include <string>
#include <vector>

namespace vistrel {

constexpr int kMagnifierStartRatio = 2;
constexpr int kMagnifierMinRatio = 1;
constexpr int kMagnifierMaxRatio = 10;

// "X:%d Y:%d", or with the band's absolute size "X:%d Y:%d %d X %d".
std::string MagnifierPositionText(Point cursor, const std::optional<Rect>& band);
std::string MagnifierRatioText(int ratio);

// The ratio after a key: keypad plus (107) or '+' (43) up to 10, keypad minus
// (109) or '-' (45) down to 1; any other key leaves it.
int RatioAfterKey(int ratio, int keyCode);

// The part of the frozen screen the zoom shows: zoomW / ratio by zoomH / ratio
// pixels centred on the cursor (it may reach past the screen's edges).
Rect ZoomSource(Point cursor, int zoomWidth, int zoomHeight, int ratio);

enum class Corner { TopLeft, TopRight, BottomRight, BottomLeft };
// Which corner of the monitor the panel sits in (within 5 pixels of its edges).
Corner CornerOf(const Rect& panel, const Rect& monitor);

// Where the panel goes: on the monitor that holds the cursor (its bottom-left
// corner when it is elsewhere), and on to the next corner clockwise when the
// cursor comes within 10 pixels of it. nullopt: it stays.
std::optional<Point> PanelPlacement(Point cursor, const Rect& panel, const std::vector<Rect>& monitors);

// The monitor a point is on; the first monitor when none holds it.
Rect MonitorAt(Point p, const std::vector<Rect>& monitors);

} // namespace vistrel
