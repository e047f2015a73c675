#pragma once
// The one save routine of every still capture: the image is written in the
// settings' image type under the next free name of the bitmap folder (an
// existing file is never replaced), the settings are saved at once when the
// stored number moved, and the path is appended to this run's bitmap list.

#include "codec/bitmap.h"

#include <string>
#include <vector>

namespace vistrel {

class CEnv;

struct SavedCapture {
    std::string path;          // the file written, complete; empty when nothing was
    std::string error;         // why nothing was written, or why the settings were not
    bool settingsSaved = true; // false: the capture is there, the new number is not stored
};

// bitsPerPixel: the depth the pixels came from (24 for a screen of depth 24 or 32:
// captures are opaque). Only a written file is listed.
SavedCapture SaveCapture(CEnv& env, Bitmap bitmap, int bitsPerPixel, std::vector<std::string>& bitmapList);

} // namespace vistrel
