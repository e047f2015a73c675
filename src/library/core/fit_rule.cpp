#include "library/core/fit_rule.h"

#include <algorithm>

namespace vistrel {

PlacedRect FitIntoArea(int imageWidth, int imageHeight, PlacedRect area)
{
    if (imageWidth <= 0 || imageHeight <= 0 || area.width <= 0 || area.height <= 0)
        return {area.x, area.y, 0, 0};
    const double W = imageWidth, H = imageHeight, w = area.width, h = area.height;
    int nw = 0, nh = 0;
    if (imageWidth <= imageHeight) {
        nh = area.height;
        nw = int(W * (h / H));
        if (nw > area.width) {
            nh = int((w * h) / nw);
            nw = int(W * (nh / H));
        }
    } else {
        nw = area.width;
        nh = int(H * (w / W));
        if (nh > area.height) {
            nw = int((h * w) / nh);
            nh = int(H * (nw / W));
        }
    }
    // A very thin picture keeps one pixel across rather than vanishing.
    nw = std::clamp(nw, 1, imageWidth);
    nh = std::clamp(nh, 1, imageHeight);
    return {area.x + (area.width - nw) / 2, area.y + (area.height - nh) / 2, nw, nh};
}

} // namespace vistrel
