#pragma once
// How the X server lays out the root window's pixels in a ZPixmap image, and the
// conversion of one such row into 0xAARRGGBB. The usual layout (32 bits per pixel,
// 8-bit channels in the server's byte order matching ours) copies straight through;
// any other true-colour layout (16-bit 565, 24 bits per pixel, 10-bit channels) is
// converted through the visual's masks. Indexed (palette) visuals are refused.

#include "platform/x11/x11_connection.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace vistrel::x11 {

struct ChannelMask {
    uint32_t mask = 0;
    int shift = 0;     // position of the lowest bit of mask
    uint32_t max = 0;  // mask >> shift

    static ChannelMask From(uint32_t mask);
    uint8_t To8Bits(uint32_t pixel) const;
};

struct PixelLayout {
    int bitsPerPixel = 0;      // 8, 16, 24 or 32
    int scanlinePadBits = 32;  // each image row is padded to a multiple of this
    bool serverMsbFirst = false;
    ChannelMask red, green, blue;
    bool copiesStraight = false;  // rows are already 0x??RRGGBB in our byte order

    // Bytes of one image row of the given width; 0 when it would not fit a size_t.
    size_t rowBytes(int width) const;
    // Converts width pixels from an image row; the result is always opaque.
    void convertRow(const uint8_t* source, int width, uint32_t* target) const;
};

// The layout of the screen's root window, or nullopt with the reason in *error.
std::optional<PixelLayout> RootPixelLayout(const Connection& conn, std::string* error);

} // namespace vistrel::x11
