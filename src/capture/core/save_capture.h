#pragma once
// The one save routine of every still capture: the image is written in the
// settings' image type under the next free name of the bitmap folder (an
// existing file is never replaced), the settings are saved at once when the
// stored number moved, and the path is appended to this run's bitmap list.

#include "codec/bitmap.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace vistrel {

class CEnv;

// Captures are opaque, so a screen of depth 24 or 32 gives 24-bit files.
inline constexpr int kCaptureBitsPerPixel = 24;

struct SavedCapture {
    std::string path;          // the file written, complete; empty when nothing was
    std::string error;         // why nothing was written, or why the settings were not
    bool settingsSaved = true; // false: the capture is there, the new number is not stored
};

// bitsPerPixel: the depth the pixels came from (24 for a screen of depth 24 or 32:
// captures are opaque). Only a written file is listed. Encodes straight into
// the file.
SavedCapture SaveCapture(CEnv& env, Bitmap bitmap, int bitsPerPixel, std::vector<std::string>& bitmapList);

// A capture encoded beforehand (on another thread) in the image type it was taken for.
struct EncodedCapture {
    int imageType = 0;
    std::vector<uint8_t> bytes; // empty when encoding failed
};
EncodedCapture EncodeCapture(Bitmap bitmap, int bitsPerPixel, int imageType); // any thread
// Nothing is listed: the caller lists the file where its run keeps them.
SavedCapture SaveEncodedCapture(CEnv& env, const EncodedCapture& capture);

} // namespace vistrel
