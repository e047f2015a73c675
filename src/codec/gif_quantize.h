#pragma once
// Colour reduction for GIF: at most 256 palette entries. A picture with few
// enough distinct colours keeps them exactly; any other is reduced by median cut
// over a 6-bit-per-channel histogram, each box standing for the mean colour of
// the pixels in it. No dithering.

#include "codec/bitmap.h"

#include <cstdint>
#include <vector>

namespace vistrel {

struct QuantizedImage {
    std::vector<uint32_t> palette; // opaque colours (0xFFRRGGBB)
    std::vector<uint8_t> indices;  // one per pixel, row-major
    int transparentIndex = -1;     // the entry for pixels with alpha < 128, when asked for
};

// keepAlpha: pixels with alpha below 128 share one extra, transparent entry.
QuantizedImage QuantizeImage(const Bitmap& bitmap, bool keepAlpha, int maxColors = 256);

} // namespace vistrel
