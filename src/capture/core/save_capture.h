#pragma once
// The one save routine of every still capture: the image is written in the
// settings' image type under the next name of the bitmap folder and the path is
// appended to this run's bitmap list.

#include "codec/bitmap.h"

#include <string>
#include <vector>

namespace vistrel {

class CEnv;

struct SavedCapture {
    std::string path;     // empty when no name could be made
    bool written = false; // the file is there, complete
};

// bitsPerPixel: the depth the pixels came from (24 for a screen of depth 24 or 32:
// captures are opaque). The path is listed even when writing failed, as the list
// shows what it finds; the caller learns of the failure from written.
SavedCapture SaveCapture(CEnv& env, Bitmap bitmap, int bitsPerPixel, std::vector<std::string>& bitmapList);

} // namespace vistrel
