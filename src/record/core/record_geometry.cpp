#include "record/core/record_geometry.h"

#include "capture/core/capture_area.h"
#include "capture/core/capture_request.h"
#include "capture/core/region_selection.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

namespace vistrel {

RecordRegion RegionOfArea(const Rect& area) { return {area.left, area.top, area.right - 1, area.bottom - 1}; }

Rect AreaOfRegion(const RecordRegion& region) { return {region.left, region.top, region.right + 1, region.bottom + 1}; }

std::optional<RecordRegion> RegionOfSelection(const RegionSelection& selection, int screenWidth, int screenHeight)
{
    const CaptureAreaResult area = AreaForRequest(selection.Request(), screenWidth, screenHeight);
    if (const auto* chosen = std::get_if<CaptureArea>(&area))
        return RegionOfArea(chosen->rect());
    return std::nullopt;
}

RecordRegion Normalised(RecordRegion r)
{
    if (r.right < r.left)
        std::swap(r.left, r.right);
    if (r.bottom < r.top)
        std::swap(r.top, r.bottom);
    return r;
}

namespace {

// One axis of FitToScreen on [low, high] against a screen side; 64-bit inside.
void FitAxis(int& low, int& high, int screenSide)
{
    if (screenSide <= 0)
        return;
    int64_t lo = low, hi = high;
    if (hi - lo + 1 > screenSide) {
        lo = 0;
        hi = screenSide - 1;
    }
    if (lo < 0) {
        hi -= lo;
        lo = 0;
    }
    if (hi > screenSide - 1) {
        lo -= hi - (screenSide - 1);
        hi = screenSide - 1;
    }
    low = int(lo);
    high = int(hi);
}

// One axis of the auto-pan step: the new low edge.
int PanAxis(int low, int high, int cursor, int side, int screenSide, int speed)
{
    const int quarter = (high - low) / 4;
    const int bandLow = low + quarter;
    const int bandHigh = low + 3 * (high - low) / 4;
    int64_t target = low;
    if (cursor < bandLow || cursor > bandHigh)
        target = int64_t(cursor) - side / 2;
    // The written rule clamps each direction on its own side; clamping both keeps
    // the area on the screen whatever the cursor reports.
    target = std::clamp<int64_t>(target, 0, std::max<int64_t>(0, int64_t(screenSide) - side));
    const int64_t delta = target - low;
    const int64_t step = std::max(speed, 1);
    if (std::llabs(delta) < step)
        return int(target);
    return int(delta < 0 ? low - step : low + step);
}

} // namespace

RecordRegion FitToScreen(RecordRegion r, int screenWidth, int screenHeight)
{
    r = Normalised(r);
    FitAxis(r.left, r.right, screenWidth);
    FitAxis(r.top, r.bottom, screenHeight);
    return r;
}

RecordRegion FullScreenRegion(int screenWidth, int screenHeight)
{
    return {0, 0, screenWidth - 1, screenHeight - 1};
}

bool CanAutoPan(int64_t width, int64_t height, int screenWidth, int screenHeight)
{
    return width < screenWidth && height < screenHeight;
}

RecordRegion AutoPanStep(const RecordRegion& pan, int x, int y, int screenWidth, int screenHeight, int speed)
{
    const int width = int(pan.width());
    const int height = int(pan.height());
    RecordRegion moved;
    moved.left = PanAxis(pan.left, pan.right, x, width, screenWidth, speed);
    moved.top = PanAxis(pan.top, pan.bottom, y, height, screenHeight, speed);
    moved.right = moved.left + width - 1;
    moved.bottom = moved.top + height - 1;
    return moved;
}

FixedOffsets OffsetsFromCentre(const RecordRegion& fixed)
{
    const int cx = (fixed.left + fixed.right) / 2;
    const int cy = (fixed.top + fixed.bottom) / 2;
    return {fixed.left - cx, fixed.top - cy, fixed.right - cx, fixed.bottom - cy};
}

RecordRegion FixedRectAt(int x, int y, const FixedOffsets& o, int fixedWidth, int fixedHeight, int screenWidth,
                         int screenHeight)
{
    RecordRegion r{x + o.left, y + o.top, x + o.right, y + o.bottom};
    if (r.left < 0) {
        r.left = 0;
        r.right = fixedWidth - 1;
    }
    if (r.top < 0) {
        r.top = 0;
        r.bottom = fixedHeight - 1;
    }
    if (r.right > screenWidth - 1) {
        r.right = screenWidth - 1;
        r.left = screenWidth - fixedWidth;
    }
    if (r.bottom > screenHeight - 1) {
        r.bottom = screenHeight - 1;
        r.top = screenHeight - fixedHeight;
    }
    return r;
}

} // namespace vistrel
