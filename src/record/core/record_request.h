#pragma once
// A recording asked for on the command line:
//   --record fullscreen | area X Y W H  [--seconds S] [--codec FOURCC]
//   [--rate FPS] [--quality Q]
// Every word is checked before anything is recorded: whole decimal numbers
// only (no signs where none belong, no trailing text, nothing that overflows),
// a FourCC among the installed compressors, a rate of 1 to 200, a quality of 0
// to 100, a positive finite number of seconds, an area of at least one pixel
// whose corners stay within int.

#include "record/core/record_options.h"

#include <optional>
#include <string>
#include <vector>

namespace vistrel {

struct RecordWords {
    std::vector<std::string> area; // after --record
    std::optional<std::string> seconds, codec, rate, quality;
};

struct RecordRequest {
    bool fullScreen = false;
    RecordRegion region;           // when not full screen
    std::optional<double> seconds; // none: until a signal ends it
    AviRecordOptions options;
};

// installed: the codes the recording may use; defaultCode: the one used
// without --codec. nullopt with the reason in error.
std::optional<RecordRequest> ParseRecordRequest(const RecordWords& words, const std::vector<FourCC>& installed,
                                                FourCC defaultCode, std::string& error);

} // namespace vistrel
