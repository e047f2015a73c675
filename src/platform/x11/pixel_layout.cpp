#include "platform/x11/pixel_layout.h"

#include "platform/x11/x11_error.h"

#include <bit>
#include <cstring>

namespace vistrel::x11 {

namespace {

const xcb_visualtype_t* FindVisual(const xcb_screen_t& screen, xcb_visualid_t id)
{
    for (auto depths = xcb_screen_allowed_depths_iterator(&screen); depths.rem;
         xcb_depth_next(&depths)) {
        for (auto visuals = xcb_depth_visuals_iterator(depths.data); visuals.rem;
             xcb_visualtype_next(&visuals)) {
            if (visuals.data->visual_id == id)
                return visuals.data;
        }
    }
    return nullptr;
}

const xcb_format_t* FindPixmapFormat(const xcb_setup_t& setup, int depth)
{
    for (auto formats = xcb_setup_pixmap_formats_iterator(&setup); formats.rem;
         xcb_format_next(&formats)) {
        if (formats.data->depth == depth)
            return formats.data;
    }
    return nullptr;
}

uint32_t ReadPixel(const uint8_t* p, int bytesPerPixel, bool msbFirst)
{
    uint32_t value = 0;
    if (msbFirst) {
        for (int i = 0; i < bytesPerPixel; ++i)
            value = (value << 8) | p[i];
    } else {
        for (int i = bytesPerPixel - 1; i >= 0; --i)
            value = (value << 8) | p[i];
    }
    return value;
}

} // namespace

ChannelMask ChannelMask::From(uint32_t mask)
{
    ChannelMask channel;
    channel.mask = mask;
    channel.shift = mask ? std::countr_zero(mask) : 0;
    channel.max = mask >> channel.shift;
    return channel;
}

uint8_t ChannelMask::To8Bits(uint32_t pixel) const
{
    if (max == 0)
        return 0;
    const uint64_t value = (pixel & mask) >> shift;
    return uint8_t((value * 255 + max / 2) / max);
}

size_t PixelLayout::rowBytes(int width) const
{
    if (width <= 0 || scanlinePadBits <= 0)
        return 0;
    const uint64_t bits = uint64_t(width) * uint64_t(bitsPerPixel);
    const uint64_t padded = (bits + uint64_t(scanlinePadBits) - 1) / uint64_t(scanlinePadBits) *
                            uint64_t(scanlinePadBits);
    return size_t(padded / 8);
}

void PixelLayout::convertRow(const uint8_t* source, int width, uint32_t* target) const
{
    if (copiesStraight) {
        // One pass that the compiler vectorises; memcpy per pixel keeps it free
        // of alignment assumptions about the source.
        for (int i = 0; i < width; ++i) {
            uint32_t pixel;
            std::memcpy(&pixel, source + size_t(i) * 4, 4);
            target[i] = pixel | 0xFF000000u;
        }
        return;
    }
    const int bytesPerPixel = bitsPerPixel / 8;
    for (int i = 0; i < width; ++i) {
        const uint32_t pixel = ReadPixel(source + size_t(i) * size_t(bytesPerPixel),
                                         bytesPerPixel, serverMsbFirst);
        target[i] = 0xFF000000u | (uint32_t(red.To8Bits(pixel)) << 16) |
                    (uint32_t(green.To8Bits(pixel)) << 8) | blue.To8Bits(pixel);
    }
}

std::optional<PixelLayout> RootPixelLayout(const Connection& conn, std::string* error)
{
    if (!conn.ok()) {
        ReportError(error, "no X connection");
        return std::nullopt;
    }
    const xcb_setup_t* setup = xcb_get_setup(conn.get());
    const xcb_screen_t& screen = *conn.screen();
    const xcb_visualtype_t* visual = FindVisual(screen, screen.root_visual);
    const xcb_format_t* format = FindPixmapFormat(*setup, screen.root_depth);
    if (!visual || !format) {
        ReportError(error, "the X server does not describe the root window's pixel format");
        return std::nullopt;
    }
    if (visual->_class != XCB_VISUAL_CLASS_TRUE_COLOR &&
        visual->_class != XCB_VISUAL_CLASS_DIRECT_COLOR) {
        ReportError(error, "the display uses indexed colour (depth " +
                            std::to_string(screen.root_depth) + "), which cannot be captured");
        return std::nullopt;
    }
    const int bpp = format->bits_per_pixel;
    if (bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) {
        ReportError(error, "unsupported screen format: " + std::to_string(bpp) + " bits per pixel");
        return std::nullopt;
    }
    if (format->scanline_pad == 0 || format->scanline_pad % 8 != 0) {
        ReportError(error, "unsupported screen format: scanline padding of " +
                            std::to_string(format->scanline_pad) + " bits");
        return std::nullopt;
    }
    PixelLayout layout;
    layout.bitsPerPixel = bpp;
    layout.scanlinePadBits = format->scanline_pad;
    layout.serverMsbFirst = setup->image_byte_order == XCB_IMAGE_ORDER_MSB_FIRST;
    layout.red = ChannelMask::From(visual->red_mask);
    layout.green = ChannelMask::From(visual->green_mask);
    layout.blue = ChannelMask::From(visual->blue_mask);
    const bool sameByteOrder = layout.serverMsbFirst == (std::endian::native == std::endian::big);
    layout.copiesStraight = bpp == 32 && sameByteOrder && visual->red_mask == 0xFF0000u &&
                            visual->green_mask == 0x00FF00u && visual->blue_mask == 0x0000FFu;
    return layout;
}

} // namespace vistrel::x11
