#include "capture/core/capture_request.h"
#include "capture/core/save_capture.h"
#include "settings/env.h"
#include "temp_home.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace vistrel;
using vistrel::test::TempHome;

namespace {

std::optional<CaptureRequest> Parse(std::vector<std::string> words, std::string* error = nullptr)
{
    std::string e;
    auto r = ParseCaptureRequest(words, true, e);
    if (error)
        *error = e;
    return r;
}

} // namespace

TEST(CaptureRequest, RefusesBadWordsBeforeAnythingIsGrabbed)
{
    std::string error;
    EXPECT_FALSE(Parse({}, &error));
    EXPECT_FALSE(Parse({"triangle"}, &error));
    EXPECT_NE(error.find("unknown shape"), std::string::npos);
    EXPECT_FALSE(Parse({"rectangle", "1", "2", "3"}, &error));
    EXPECT_FALSE(Parse({"rectangle", "1", "2", "3", "x"}, &error));
    EXPECT_NE(error.find("\"x\""), std::string::npos);
    EXPECT_FALSE(Parse({"rectangle", "1", "2", "3", "4.5"}));
    EXPECT_FALSE(Parse({"rectangle", "1", "2", "3", "99999999999"}));
    EXPECT_FALSE(Parse({"polygon", "0", "0", "10", "0"}, &error));
    EXPECT_FALSE(Parse({"polygon", "0", "0", "10", "0", "5"}));
    EXPECT_FALSE(Parse({"fullscreen", "1"}));
    EXPECT_FALSE(Parse({"area", "0", "0", "0", "10"}));
    auto ok = Parse({"circle", "-5", "10", "20", "30"});
    ASSERT_TRUE(ok);
    EXPECT_EQ(ok->points, (std::vector<Point>{{-5, 10}, {20, 30}}));
}

TEST(CaptureRequest, AreasOfEachShape)
{
    auto rect = AreaForRequest(*Parse({"rectangle", "30", "40", "10", "20"}), 100, 100);
    ASSERT_TRUE(std::holds_alternative<CaptureArea>(rect));
    EXPECT_EQ(std::get<CaptureArea>(rect).rect(), (Rect{10, 20, 30, 40}));

    auto full = AreaForRequest(*Parse({"fullscreen"}), 640, 480);
    EXPECT_EQ(std::get<CaptureArea>(full).rect(), (Rect{0, 0, 640, 480}));

    auto flat = AreaForRequest(*Parse({"ellipse", "10", "20", "50", "20"}), 100, 100);
    EXPECT_EQ(std::get<CaptureAreaError>(flat), CaptureAreaError::Empty);
    auto dot = AreaForRequest(*Parse({"circle", "10", "20", "10", "20"}), 100, 100);
    EXPECT_EQ(std::get<CaptureAreaError>(dot), CaptureAreaError::Empty);

    // Three clicked vertices: the double click lands on the last, which closes it.
    auto tri = AreaForRequest(*Parse({"polygon", "10", "10", "50", "10", "10", "40"}), 100, 100);
    ASSERT_TRUE(std::holds_alternative<CaptureArea>(tri));
    const Rect& box = std::get<CaptureArea>(tri).rect();
    EXPECT_EQ(box.left, 10);
    EXPECT_EQ(box.top, 10);
    EXPECT_LE(box.right, 50);
    EXPECT_LE(box.bottom, 40);
    auto line = AreaForRequest(*Parse({"polygon", "0", "0", "10", "10", "20", "20"}), 100, 100);
    EXPECT_TRUE(std::holds_alternative<CaptureAreaError>(line));
}

TEST(CaptureRequest, SelectTakesTheHotkeysShapesOnly)
{
    std::string error;
    EXPECT_EQ(ParseSelectShape("rectangle", error), SelectShape::Rectangle);
    EXPECT_EQ(ParseSelectShape("circle", error), SelectShape::Circle);
    EXPECT_EQ(ParseSelectShape("ellipse", error), SelectShape::Ellipse);
    EXPECT_EQ(ParseSelectShape("polygon", error), SelectShape::Polygon);
    EXPECT_EQ(ParseSelectShape("object", error), SelectShape::Object);
    // The command line's shapes that need no mouse are not selections.
    for (const char* word : {"fullscreen", "area", "window", "", "Rectangle"}) {
        error.clear();
        EXPECT_FALSE(ParseSelectShape(word, error)) << word;
        EXPECT_NE(error.find('"' + std::string(word) + '"'), std::string::npos) << error;
    }
}
