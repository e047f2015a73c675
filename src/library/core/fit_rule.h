#pragma once
// Where a picture goes when it is shown in a box: the preview, the thumbnails
// and the full-window viewer all place pictures by this one rule. Pure
// arithmetic, any thread.

namespace vistrel {

struct PlacedRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool operator==(const PlacedRect&) const = default;
};

// An image of imageWidth x imageHeight scaled into the area, keeping its
// proportions, never enlarged, and centred. The divisions are done in floating
// point and cut toward zero, so a side may come out one pixel short of the
// area's; the halves of the margins are integer halves. An empty image or area
// gives an empty rectangle at the area's corner.
PlacedRect FitImage(int imageWidth, int imageHeight, const PlacedRect& area);

} // namespace vistrel
