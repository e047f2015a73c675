#pragma once
// The PNG writer's knobs, apart so that the benchmark can compare settings.

#include "codec/bitmap.h"
#include "codec/byte_sink.h"

namespace vistrel {

struct PngEncodeOptions {
    // Stripes of rows where more than busyPercent of the filtered bytes are
    // small but not zero (noise) are compressed with busyStrategy, the others
    // normally at flatLevel.
    int flatLevel = 2;
    int busyStrategy = 3; // Z_RLE
    int busyPercent = 20;
    // Independent deflate streams compressed side by side and joined into one
    // zlib stream; 0 picks one per core, at most two, for large pictures only.
    int parts = 0;
};

bool EncodePngWith(const Bitmap& bitmap, bool keepAlpha, const PngEncodeOptions& options,
                   ByteSink& sink);

} // namespace vistrel
