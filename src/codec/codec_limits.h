#pragma once
// Bounds every decoder applies before it allocates pixels, so that a hostile or
// broken file (absurd dimensions, a tiny file that claims a huge picture) is
// refused instead of costing gigabytes.

#include <cstddef>
#include <cstdint>

namespace vistrel {

constexpr int64_t kMaxImageSide = 32768;
constexpr int64_t kMaxImagePixels = int64_t(256) << 20;
// Pictures up to this size are always allowed, whatever the file's length.
constexpr int64_t kAlwaysAllowedPixels = int64_t(16) << 20;

// True when a width x height picture may be decoded from inputBytes of data
// whose format can hold at most pixelsPerByte pixels in one byte of input.
constexpr bool ImageSizeAllowed(int64_t width, int64_t height, size_t inputBytes,
                                int64_t pixelsPerByte)
{
    if (width <= 0 || height <= 0 || width > kMaxImageSide || height > kMaxImageSide)
        return false;
    int64_t pixels = width * height;
    if (pixels > kMaxImagePixels)
        return false;
    return pixels <= kAlwaysAllowedPixels || pixels / pixelsPerByte <= int64_t(inputBytes);
}

} // namespace vistrel
