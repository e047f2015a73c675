#pragma once
// Device-independent bitmaps, the body of BMP files and of most icon entries.

#include "codec/byte_sink.h"
#include "codec/decode.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace vistrel {

enum class DibKind {
    File, // BMP: the pixels start at pixelOffset
    Icon, // icon entry: height counts twice, pixels follow the palette, an AND mask follows them
};

// Decodes the DIB whose info header starts at infoOffset of data.
std::optional<DecodedImage> DecodeDib(std::span<const uint8_t> data, size_t infoOffset,
                                      size_t pixelOffset, DibKind kind);

// Bytes per stored row of width pixels at bitsPerPixel, padded to 4 bytes.
constexpr uint64_t DibStride(uint64_t width, uint64_t bitsPerPixel)
{
    return (width * bitsPerPixel + 31) / 32 * 4;
}

// Rows bottom-up: 24-bit B,G,R or 32-bit B,G,R,A, each padded to 4 bytes.
bool WriteDibPixels(const Bitmap& bitmap, int bitsPerPixel, ByteSink& sink);

} // namespace vistrel
