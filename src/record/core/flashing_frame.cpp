#include "record/core/flashing_frame.h"

#include <algorithm>

namespace vistrel {

std::vector<FrameStrip> FlashingFrameShape(const RecordRegion& area, bool panStyle)
{
    if (area.isEmpty())
        return {};
    const int t = panStyle ? 4 : 8; // thickness
    const int l = area.left - t, top = area.top - t;
    const int w = int(std::min<int64_t>(area.width(), 1 << 20)) + 2 * t;
    const int h = int(std::min<int64_t>(area.height(), 1 << 20)) + 2 * t;
    if (panStyle)
        return {{l, top, w, t}, {l, top + h - t, w, t}, {l, top + t, t, h - 2 * t}, {l + w - t, top + t, t, h - 2 * t}};
    // Arms no longer than half a side, so that brackets of a small area meet
    // rather than cross.
    const int armX = std::min(24, w / 2), armY = std::min(24, h / 2);
    const int right = l + w, bottom = top + h;
    return {
        {l, top, armX, t},           {l, top, t, armY},                     // top left
        {right - armX, top, armX, t}, {right - t, top, t, armY},            // top right
        {l, bottom - t, armX, t},     {l, bottom - armY, t, armY},          // bottom left
        {right - armX, bottom - t, armX, t}, {right - t, bottom - armY, t, armY}, // bottom right
    };
}

} // namespace vistrel
