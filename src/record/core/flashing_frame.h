#pragma once
// The shape of the frame shown around the recorded area: rectangles in screen
// pixels that all lie outside the area, so the frame never shows in the frames.
// Corner brackets 8 pixels thick with arms 24 pixels long from the outer
// corner; with auto-pan, a closed frame 4 pixels thick instead.

#include "record/core/record_options.h"

#include <vector>

namespace vistrel {

struct FrameStrip {
    int x = 0, y = 0, width = 0, height = 0;
};

std::vector<FrameStrip> FlashingFrameShape(const RecordRegion& area, bool panStyle);

// The colours of the frame between grabs and while one is taken (0xRRGGBB).
constexpr unsigned kFlashingFrameColour = 0x00FF50;
constexpr unsigned kFlashingFrameGrabbingColour = 0xFFFFB4;

} // namespace vistrel
