#pragma once
// Where a picture goes when it is shown inside a box: the thumbnails, the
// preview and the viewer's fit-to-window all use this one rule. The picture is
// scaled to fit keeping its aspect ratio, never enlarged, and centred. Plain
// arithmetic, any thread.

namespace vistrel {

struct PlacedRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    bool operator==(const PlacedRect&) const = default;
};

// A thumbnail is 120 x 100; its picture goes into the white area inside the frame.
constexpr int kThumbnailWidth = 120;
constexpr int kThumbnailHeight = 100;
constexpr PlacedRect kThumbnailContent{2, 2, 116, 96};

// The picture of imageWidth x imageHeight fitted into area. The scale factors
// are worked out in floating point and cut toward zero, so the sizes match
// what earlier versions of the program showed to the pixel. A picture or an
// area without pixels gives a rectangle without pixels at the area's corner;
// otherwise each side is at least one pixel.
PlacedRect FitIntoArea(int imageWidth, int imageHeight, PlacedRect area);

} // namespace vistrel
