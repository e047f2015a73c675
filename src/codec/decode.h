#pragma once
// In-memory decoding of the six image types. Every decoder checks each offset
// and length against the data and the size limits of codec_limits.h; anything
// undecodable, truncated, too large or more than memory holds gives nullopt,
// never a crash.

#include "codec/bitmap.h"
#include "codec/image_type.h"

#include <cstdint>
#include <optional>
#include <span>

namespace vistrel {

struct DecodedImage {
    Bitmap bitmap;        // alpha is 0xFF wherever the file has no transparency
    int bitsPerPixel = 0; // the file's own depth: 1 to 32 (a PNG's channels x bits, up to 64)
    bool hasAlpha = false; // some pixel is not fully opaque
    // The picture's size in the file: the bitmap's, unless it was decoded reduced.
    int fileWidth = 0;
    int fileHeight = 0;
};

std::optional<DecodedImage> DecodeImage(std::span<const uint8_t> data, cximage_type type);

// For a picture that will be shown small: a JPEG is decoded at the smallest of
// its built-in reductions (1/2, 1/4, 1/8) that still covers minWidth x
// minHeight, which is several times faster; other types decode whole.
std::optional<DecodedImage> DecodeImageToCover(std::span<const uint8_t> data, cximage_type type, int minWidth,
                                               int minHeight);

} // namespace vistrel
