#include "codec/dib.h"

#include "codec/byte_view.h"
#include "codec/codec_limits.h"

#include <algorithm>
#include <array>
#include <bit>
#include <vector>

namespace vistrel {

namespace {

constexpr uint32_t kBiRgb = 0, kBiRle8 = 1, kBiRle4 = 2, kBiBitfields = 3, kBiAlphaBitfields = 6;

// One colour channel packed under a bit mask, scaled to 8 bits.
struct Channel {
    uint32_t mask = 0;
    int shift = 0;
    int bits = 0;

    explicit Channel(uint32_t m = 0) : mask(m)
    {
        if (m != 0) {
            shift = std::countr_zero(m);
            bits = std::popcount(m >> shift);
        }
    }
    uint8_t Extract(uint32_t pixel) const
    {
        if (bits == 0)
            return 0;
        uint32_t v = (pixel & mask) >> shift;
        if (bits >= 8)
            return uint8_t(v >> (bits - 8));
        // Fewer bits are repeated to fill the byte (5 bits abcde: abcdeabc),
        // so full scale stays full scale, as other readers show it.
        uint32_t out = 0;
        for (int filled = 0; filled < 8; filled += bits)
            out = (out << bits) | v;
        return uint8_t(out >> (((8 + bits - 1) / bits) * bits - 8));
    }
};

struct DibHeader {
    int64_t width = 0;
    int64_t height = 0; // always positive here
    bool topDown = false;
    int bpp = 0;
    uint32_t compression = kBiRgb;
    uint32_t paletteSize = 0;    // entries stored in the file
    uint32_t paletteEntryBytes = 4;
    std::array<uint32_t, 4> masks{}; // red, green, blue, alpha
    bool hasMasks = false;
    size_t paletteOffset = 0;
};

// Header sizes: 12 (OS/2 1.x and Windows 2 core header), 16 to 64 (OS/2 2.x,
// which may stop after any field; absent fields are zero), 40, 52 and 56
// (Windows info header, with masks from 52 on), 108 (V4), 124 (V5).
bool IsOs2InfoHeader(uint32_t size)
{
    return size >= 16 && size <= 64 && size != 40 && size != 52 && size != 56;
}

std::optional<DibHeader> ReadHeader(const ByteView& in, size_t at, DibKind kind)
{
    if (!in.Has(at, 4))
        return std::nullopt;
    const uint32_t size = in.U32(at);
    DibHeader h;
    if (size == 12) {
        if (!in.Has(at, 12))
            return std::nullopt;
        h.width = in.U16(at + 4);
        h.height = int16_t(in.U16(at + 6));
        h.bpp = in.U16(at + 10);
        h.paletteEntryBytes = 3;
    } else if (size >= 16 && size <= 1024) {
        if (!in.Has(at, size))
            return std::nullopt;
        const auto field = [&](uint32_t offset) { return offset + 4 <= size ? in.U32(at + offset) : 0u; };
        h.width = in.S32(at + 4);
        h.height = in.S32(at + 8);
        h.bpp = in.U16(at + 14);
        h.compression = field(16);
        h.paletteSize = field(32);
        if (IsOs2InfoHeader(size) && h.compression >= kBiBitfields)
            return std::nullopt; // OS/2 meanings of these values (Huffman, RLE24)
        if (size >= 52 && !IsOs2InfoHeader(size))
            h.masks = {in.U32(at + 40), in.U32(at + 44), in.U32(at + 48),
                       size >= 56 ? in.U32(at + 52) : 0};
    } else {
        return std::nullopt;
    }
    size_t afterHeader = at + size;
    if (h.compression == kBiBitfields || h.compression == kBiAlphaBitfields) {
        if (h.bpp != 16 && h.bpp != 32)
            return std::nullopt;
        h.hasMasks = true;
        if (size < 52) {
            const size_t count = h.compression == kBiAlphaBitfields ? 4 : 3;
            if (!in.Has(afterHeader, count * 4))
                return std::nullopt;
            for (size_t i = 0; i < count; ++i)
                h.masks[i] = in.U32(afterHeader + 4 * i);
            afterHeader += count * 4;
        }
    } else if (h.compression == kBiRle8 ? h.bpp != 8
               : h.compression == kBiRle4 ? h.bpp != 4
                                          : h.compression != kBiRgb) {
        return std::nullopt;
    }
    if (h.compression == kBiRgb && h.bpp != 1 && h.bpp != 2 && h.bpp != 4 && h.bpp != 8 && h.bpp != 16 &&
        h.bpp != 24 && h.bpp != 32)
        return std::nullopt;
    if (h.height < 0) {
        if (kind == DibKind::Icon || h.compression == kBiRle8 || h.compression == kBiRle4)
            return std::nullopt;
        h.topDown = true;
        h.height = -h.height;
    }
    if (kind == DibKind::Icon)
        h.height /= 2;
    if (h.bpp <= 8) {
        const uint32_t full = 1u << h.bpp;
        if (h.paletteSize == 0 || size == 12)
            h.paletteSize = full;
        if (h.paletteSize > 256)
            return std::nullopt;
    } else {
        h.paletteSize = 0; // a colour table beside true-colour pixels is only a hint
    }
    h.paletteOffset = afterHeader;
    return h;
}

// The colour a palette index stands for; indices past the table are black.
std::vector<uint32_t> ReadPalette(const ByteView& in, const DibHeader& h, bool& ok)
{
    std::vector<uint32_t> palette(256, MakeArgb(0, 0, 0));
    ok = in.Has(h.paletteOffset, uint64_t(h.paletteSize) * h.paletteEntryBytes);
    for (uint32_t i = 0; ok && i < h.paletteSize; ++i) {
        const size_t at = h.paletteOffset + size_t(i) * h.paletteEntryBytes;
        palette[i] = MakeArgb(in.U8(at + 2), in.U8(at + 1), in.U8(at));
    }
    return palette;
}

void DecodeRow(const uint8_t* src, const DibHeader& h, const std::vector<uint32_t>& palette,
               const std::array<Channel, 4>& channels, uint32_t* out)
{
    const int64_t w = h.width;
    switch (h.bpp) {
    case 1:
    case 2:
    case 4:
    case 8: {
        const int perByte = 8 / h.bpp;
        const uint32_t mask = (1u << h.bpp) - 1;
        for (int64_t x = 0; x < w; ++x) {
            const int shift = 8 - h.bpp * (int(x % perByte) + 1);
            out[x] = palette[(src[x / perByte] >> shift) & mask];
        }
        break;
    }
    case 24:
        for (int64_t x = 0; x < w; ++x)
            out[x] = MakeArgb(src[3 * x + 2], src[3 * x + 1], src[3 * x]);
        break;
    case 16:
    case 32:
        for (int64_t x = 0; x < w; ++x) {
            const uint32_t v = h.bpp == 16 ? uint32_t(src[2 * x] | (src[2 * x + 1] << 8))
                                           : uint32_t(src[4 * x]) | (uint32_t(src[4 * x + 1]) << 8) |
                                                 (uint32_t(src[4 * x + 2]) << 16) |
                                                 (uint32_t(src[4 * x + 3]) << 24);
            const uint8_t a = channels[3].bits ? channels[3].Extract(v) : 0xFF;
            out[x] = MakeArgb(channels[0].Extract(v), channels[1].Extract(v), channels[2].Extract(v), a);
        }
        break;
    }
}

// RLE8 and RLE4: runs and literal spans, with end-of-line, end-of-bitmap and
// delta escapes. Pixels the data never reaches keep palette entry 0.
bool DecodeRle(const ByteView& in, size_t at, const DibHeader& h,
               const std::vector<uint32_t>& palette, Bitmap& out)
{
    const bool four = h.compression == kBiRle4;
    int64_t x = 0, y = 0; // y counts from the bottom row
    std::fill(out.pixels.begin(), out.pixels.end(), palette[0]);
    auto put = [&](uint8_t index) {
        if (x < h.width && y < h.height)
            out.at(int(x), int(h.height - 1 - y)) = palette[index];
        ++x;
    };
    while (y < h.height) {
        if (!in.Has(at, 2))
            return false;
        const uint8_t count = in.U8(at), value = in.U8(at + 1);
        at += 2;
        if (count > 0) {
            for (int i = 0; i < count && x < h.width; ++i)
                put(four ? uint8_t(i % 2 ? value & 15 : value >> 4) : value);
            continue;
        }
        if (value == 0) {
            x = 0;
            ++y;
        } else if (value == 1) {
            return true;
        } else if (value == 2) {
            if (!in.Has(at, 2))
                return false;
            x += in.U8(at);
            y += in.U8(at + 1);
            at += 2;
        } else {
            const size_t bytes = four ? (value + 1u) / 2 : value;
            if (!in.Has(at, bytes))
                return false;
            for (int i = 0; i < value; ++i) {
                const uint8_t b = in.U8(at + (four ? size_t(i / 2) : size_t(i)));
                put(four ? uint8_t(i % 2 ? b & 15 : b >> 4) : b);
            }
            at += (bytes + 1) & ~size_t(1);
        }
    }
    return true;
}

// Icons: the AND mask (1 = transparent) applies unless 32-bit pixels carry alpha.
bool ApplyAndMask(const ByteView& in, size_t at, const DibHeader& h, bool hadAlpha, Bitmap& out)
{
    const uint64_t stride = DibStride(uint64_t(h.width), 1);
    if (!in.Has(at, stride * uint64_t(h.height)))
        return false;
    if (hadAlpha)
        return true;
    for (int64_t r = 0; r < h.height; ++r) {
        const uint8_t* row = in.At(at + size_t(r * int64_t(stride)));
        uint32_t* dst = out.row(int(h.height - 1 - r));
        for (int64_t x = 0; x < h.width; ++x)
            if ((row[x / 8] >> (7 - x % 8)) & 1)
                dst[x] = 0;
    }
    return true;
}

} // namespace

std::optional<DecodedImage> DecodeDib(std::span<const uint8_t> data, size_t infoOffset,
                                      size_t pixelOffset, DibKind kind)
{
    const ByteView in(data);
    const auto header = ReadHeader(in, infoOffset, kind);
    if (!header)
        return std::nullopt;
    DibHeader h = *header;
    // A file's colour table ends where its pixels begin: writers of OS/2 and
    // of compact files store only the colours they use.
    if (kind == DibKind::File && h.bpp <= 8 && pixelOffset >= h.paletteOffset) {
        const uint64_t room = (pixelOffset - h.paletteOffset) / h.paletteEntryBytes;
        if (room == 0)
            return std::nullopt;
        h.paletteSize = uint32_t(std::min<uint64_t>(h.paletteSize, room));
    }
    const bool rle = h.compression == kBiRle8 || h.compression == kBiRle4;
    if (!ImageSizeAllowed(h.width, h.height, data.size(), rle ? 1024 : 8))
        return std::nullopt;
    bool paletteOk = true;
    const auto palette = ReadPalette(in, h, paletteOk);
    if (!paletteOk)
        return std::nullopt;
    if (kind == DibKind::Icon)
        pixelOffset = h.paletteOffset + size_t(h.paletteSize) * h.paletteEntryBytes;

    std::array<Channel, 4> channels;
    bool alphaChannel = false;
    if (h.hasMasks) {
        for (int i = 0; i < 4; ++i)
            channels[size_t(i)] = Channel(h.masks[size_t(i)]);
        alphaChannel = h.masks[3] != 0;
    } else if (h.bpp == 16) {
        channels = {Channel(0x7C00), Channel(0x03E0), Channel(0x001F), Channel()};
    } else if (h.bpp == 32) {
        channels = {Channel(0xFF0000), Channel(0xFF00), Channel(0xFF), Channel()};
        if (kind == DibKind::Icon) {
            channels[3] = Channel(0xFF000000u);
            alphaChannel = true;
        }
    }
    if (h.hasMasks && (!channels[0].bits && !channels[1].bits && !channels[2].bits))
        return std::nullopt;

    // The pixels (and an icon's mask) must all be there before the picture is
    // allocated: a small file may claim a large picture.
    const uint64_t stride = DibStride(uint64_t(h.width), uint64_t(h.bpp));
    if (!rle && !in.Has(pixelOffset, stride * uint64_t(h.height)))
        return std::nullopt;
    if (kind == DibKind::Icon && !rle &&
        !in.Has(pixelOffset + size_t(stride * uint64_t(h.height)), DibStride(uint64_t(h.width), 1) * uint64_t(h.height)))
        return std::nullopt;
    DecodedImage image;
    image.bitsPerPixel = h.bpp;
    image.bitmap = Bitmap(int(h.width), int(h.height));
    Bitmap& out = image.bitmap;
    if (rle) {
        if (!DecodeRle(in, pixelOffset, h, palette, out))
            return std::nullopt;
    } else {
        for (int64_t r = 0; r < h.height; ++r) {
            const uint8_t* src = in.At(pixelOffset + size_t(r * int64_t(stride)));
            DecodeRow(src, h, palette, channels, out.row(int(h.topDown ? r : h.height - 1 - r)));
        }
    }
    // An alpha channel that is zero everywhere was never meant as alpha.
    if (alphaChannel && std::all_of(out.pixels.begin(), out.pixels.end(),
                                    [](uint32_t p) { return AlphaOf(p) == 0; })) {
        alphaChannel = false;
        for (uint32_t& p : out.pixels)
            p |= 0xFF000000u;
    }
    if (kind == DibKind::Icon &&
        !ApplyAndMask(in, pixelOffset + size_t(stride * uint64_t(h.height)), h, alphaChannel, out))
        return std::nullopt;
    return image;
}

bool WriteDibPixels(const Bitmap& bitmap, int bitsPerPixel, ByteSink& sink)
{
    const size_t stride = size_t(DibStride(uint64_t(bitmap.width), uint64_t(bitsPerPixel)));
    std::vector<uint8_t> row(stride, 0);
    for (int y = bitmap.height - 1; y >= 0; --y) {
        const uint32_t* src = bitmap.row(y);
        uint8_t* d = row.data();
        if (bitsPerPixel == 32) {
            for (int x = 0; x < bitmap.width; ++x, d += 4) {
                d[0] = BlueOf(src[x]);
                d[1] = GreenOf(src[x]);
                d[2] = RedOf(src[x]);
                d[3] = AlphaOf(src[x]);
            }
        } else {
            for (int x = 0; x < bitmap.width; ++x, d += 3) {
                d[0] = BlueOf(src[x]);
                d[1] = GreenOf(src[x]);
                d[2] = RedOf(src[x]);
            }
        }
        if (!sink.Write(row.data(), row.size()))
            return false;
    }
    return true;
}

} // namespace vistrel
