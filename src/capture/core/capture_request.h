#pragma once
// A still capture asked for by words (the command line, or a script through the
// running copy): the shape and its points, checked before anything is grabbed
// so that a refused request uses up no file number.

#include "capture/core/capture_area.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vistrel {

enum class CaptureKind { FullScreen, Rectangle, Circle, Ellipse, Polygon, Window, Area };

struct CaptureRequest {
    CaptureKind kind = CaptureKind::FullScreen;
    std::vector<Point> points; // as the overlay collects them; Area: (x, y), (w, h)
    bool includeCursor = true; // full screen and area only
};

// words: SHAPE then its numbers. nullopt with the reason in error.
std::optional<CaptureRequest> ParseCaptureRequest(const std::vector<std::string>& words,
                                                  bool includeCursor, std::string& error);

// --select: the selections the window's hotkeys open. Object: the window
// pointed at, taken when the hotkey (or --select object) comes again.
enum class SelectShape { Rectangle, Circle, Ellipse, Polygon, Object };

// nullopt with the reason in error for any other word.
std::optional<SelectShape> ParseSelectShape(std::string_view word, std::string& error);

// The capture area of a shaped request on a screen of that size; for Window and
// Area the caller grabs the rectangle itself. Polygons get their closing points
// here, as the double click adds them.
CaptureAreaResult AreaForRequest(const CaptureRequest& request, int screenWidth, int screenHeight);

} // namespace vistrel
