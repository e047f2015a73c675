#include "library/core/viewer_geometry.h"

#include <algorithm>

namespace vistrel {

int FullExtentOrigin(int imageSize, int screenSize, int clientSize, int pan)
{
    if (imageSize <= screenSize)
        return -((imageSize - clientSize) / 2);
    int origin = std::min(0, pan - (imageSize - clientSize) / 2);
    if (origin + imageSize <= screenSize)
        origin = screenSize - imageSize;
    return origin;
}

PlacedRect FitToWindow(int imageWidth, int imageHeight, int clientWidth, int clientHeight)
{
    return FitIntoArea(imageWidth, imageHeight, {0, 0, clientWidth, clientHeight});
}

PanRange FullExtentPanRange(int imageSize, int screenSize, int clientSize)
{
    if (imageSize <= screenSize)
        return {};
    const int centred = (imageSize - clientSize) / 2;
    // origin = pan - centred, kept between screenSize - imageSize and 0.
    return {screenSize - imageSize + centred, centred};
}

std::optional<int> StepPosition(int position, int count, int step)
{
    if (count < 2)
        return std::nullopt;
    const int next = position + (step < 0 ? -1 : 1);
    if (next < 0 || next >= count)
        return step < 0 ? count - 1 : 0;
    return next;
}

} // namespace vistrel
