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

} // namespace vistrel
