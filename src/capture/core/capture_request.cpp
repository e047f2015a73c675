#include "capture/core/capture_request.h"

#include <charconv>
#include <utility>

namespace vistrel {

namespace {

struct ShapeWords {
    const char* word;
    CaptureKind kind;
    int minNumbers; // and exactly this many, but for the polygon
};

constexpr ShapeWords kShapes[] = {
    {"fullscreen", CaptureKind::FullScreen, 0}, {"rectangle", CaptureKind::Rectangle, 4},
    {"ellipse", CaptureKind::Ellipse, 4},       {"circle", CaptureKind::Circle, 4},
    {"polygon", CaptureKind::Polygon, 6},       {"window", CaptureKind::Window, 0},
    {"area", CaptureKind::Area, 4},
};

std::optional<int> ParseCoordinate(const std::string& word)
{
    int value = 0;
    auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), value);
    if (ec != std::errc() || end != word.data() + word.size())
        return std::nullopt;
    return value;
}

} // namespace

std::optional<SelectShape> ParseSelectShape(std::string_view word, std::string& error)
{
    constexpr std::pair<std::string_view, SelectShape> kSelectShapes[] = {
        {"rectangle", SelectShape::Rectangle}, {"circle", SelectShape::Circle}, {"ellipse", SelectShape::Ellipse},
        {"polygon", SelectShape::Polygon},     {"object", SelectShape::Object},
    };
    for (const auto& [name, shape] : kSelectShapes)
        if (word == name)
            return shape;
    error = "--select takes rectangle, circle, ellipse, polygon or object, not \"" + std::string(word) + "\"";
    return std::nullopt;
}

std::optional<CaptureRequest> ParseCaptureRequest(const std::vector<std::string>& words,
                                                  bool includeCursor, std::string& error)
{
    if (words.empty()) {
        error = "--capture needs a shape";
        return std::nullopt;
    }
    const ShapeWords* shape = nullptr;
    for (const auto& s : kShapes)
        if (words[0] == s.word)
            shape = &s;
    if (!shape) {
        error = "unknown shape \"" + words[0] +
                "\" (fullscreen, rectangle, ellipse, circle, polygon, window or area)";
        return std::nullopt;
    }
    size_t numbers = words.size() - 1;
    bool polygon = shape->kind == CaptureKind::Polygon;
    if (polygon ? (numbers < 6 || numbers % 2 != 0) : numbers != size_t(shape->minNumbers)) {
        error = polygon ? std::string("polygon needs at least three points: X1 Y1 X2 Y2 X3 Y3 ...")
                        : words[0] + " takes " + std::to_string(shape->minNumbers) + " numbers, not " +
                              std::to_string(numbers);
        return std::nullopt;
    }
    CaptureRequest request;
    request.kind = shape->kind;
    request.includeCursor = includeCursor;
    for (size_t i = 1; i + 1 < words.size(); i += 2) {
        auto x = ParseCoordinate(words[i]);
        auto y = ParseCoordinate(words[i + 1]);
        if (!x || !y) {
            error = "not a whole number: \"" + (x ? words[i + 1] : words[i]) + "\"";
            return std::nullopt;
        }
        request.points.push_back({*x, *y});
    }
    if (request.kind == CaptureKind::Area && (request.points[1].x <= 0 || request.points[1].y <= 0)) {
        error = "the area is empty: width and height must be above 0";
        return std::nullopt;
    }
    return request;
}

CaptureAreaResult AreaForRequest(const CaptureRequest& request, int screenWidth, int screenHeight)
{
    const auto& p = request.points;
    switch (request.kind) {
    case CaptureKind::FullScreen:
        return CaptureArea::FullScreen(screenWidth, screenHeight);
    case CaptureKind::Rectangle:
        return CaptureArea::Rectangle(p[0], p[1]);
    case CaptureKind::Ellipse:
        return CaptureArea::Ellipse(p[0], p[1]);
    case CaptureKind::Circle:
        return CaptureArea::Circle(p[0], p[1]);
    case CaptureKind::Polygon: {
        // The points are the clicked vertices; the double click lands on the last
        // one, so it stands twice, and the first vertex closes the list.
        auto closed = ClosePolygon(p, p.back());
        if (!closed)
            return CaptureAreaError::TooFewPoints;
        return CaptureArea::Polygon(*closed);
    }
    case CaptureKind::Window:
    case CaptureKind::Area:
        break;
    }
    return CaptureAreaError::Empty;
}

} // namespace vistrel
