#pragma once
// The four numbers of the video options as typed, checked in the order the
// dialog names its faults, and written into the options only when all pass.

#include "record/core/record_options.h"

#include <string>

namespace vistrel {

struct VideoOptionFields {
    std::string interval;  // milliseconds between grabs
    std::string keyFrames; // a key frame every so many frames
    std::string rate;      // playback frames per second
    int qualityPercent = 0; // the slider, 1 to 100
};

// The message for the first field at fault, or empty after writing all four
// into options (quality as the percentage times 100). A field is read as a
// whole decimal number, blanks around it allowed; anything else is at fault
// too, named in the message as typed.
std::string ApplyVideoOptionFields(const VideoOptionFields& fields, AviRecordOptions& options);

} // namespace vistrel
