#include "library/core/fit_rule.h"

#include <algorithm>

namespace vistrel {

PlacedRect FitImage(int imageWidth, int imageHeight, const PlacedRect& area)
{
    PlacedRect placed{area.left, area.top, 0, 0};
    if (imageWidth <= 0 || imageHeight <= 0 || area.width <= 0 || area.height <= 0)
        return placed;
    const double W = imageWidth, H = imageHeight, w = area.width, h = area.height;
    double nw, nh;
    if (W <= H) {
        nh = h;
        nw = int(W * (h / H));
        if (nw > w) {
            nh = int((w * h) / nw);
            nw = int(W * (nh / H));
        }
    } else {
        nw = w;
        nh = int(H * (w / W));
        if (nh > h) {
            nw = int((h * w) / nh);
            nh = int(H * (nw / W));
        }
    }
    placed.width = std::min(int(nw), imageWidth);
    placed.height = std::min(int(nh), imageHeight);
    placed.left = area.left + (area.width - placed.width) / 2;
    placed.top = area.top + (area.height - placed.height) / 2;
    return placed;
}

} // namespace vistrel
