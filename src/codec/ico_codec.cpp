// Icon files. Reading takes the largest entry (then the deepest) that decodes;
// entries are PNG streams or DIBs with an AND mask. Writing makes one 32-bit DIB
// entry with its AND mask, which every reader since the early 2000s shows with
// alpha and older ones with the mask. Icons are at most 256 pixels a side, so a
// larger picture is scaled down (area average) to fit, keeping its proportions.
#include "codec/byte_view.h"
#include "codec/codec_formats.h"
#include "codec/dib.h"
#include "codec/encode.h"

#include <algorithm>
#include <vector>

namespace vistrel {

namespace {

constexpr size_t kDirSize = 6;
constexpr size_t kEntrySize = 16;
constexpr uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};

struct Entry {
    uint32_t area = 0;
    int depth = 0;
    uint32_t offset = 0;
    uint32_t size = 0;
    std::span<const uint8_t> data;
};

bool IsPng(std::span<const uint8_t> d)
{
    return d.size() >= 8 && std::equal(d.begin(), d.begin() + 8, kPngSignature);
}

// Area-average reduction, with colours weighted by alpha so transparent pixels
// do not darken the edges.
Bitmap ScaleDown(const Bitmap& src, int w, int h)
{
    Bitmap out(w, h);
    for (int ty = 0; ty < h; ++ty) {
        const int y0 = int(int64_t(ty) * src.height / h), y1 = int(int64_t(ty + 1) * src.height / h);
        for (int tx = 0; tx < w; ++tx) {
            const int x0 = int(int64_t(tx) * src.width / w), x1 = int(int64_t(tx + 1) * src.width / w);
            uint64_t r = 0, g = 0, b = 0, a = 0, n = 0;
            for (int y = y0; y < std::max(y1, y0 + 1); ++y)
                for (int x = x0; x < std::max(x1, x0 + 1); ++x) {
                    const uint32_t p = src.at(x, y), pa = AlphaOf(p);
                    r += RedOf(p) * pa;
                    g += GreenOf(p) * pa;
                    b += BlueOf(p) * pa;
                    a += pa;
                    ++n;
                }
            out.at(tx, ty) = a == 0 ? 0
                                    : MakeArgb(uint8_t((r + a / 2) / a), uint8_t((g + a / 2) / a),
                                               uint8_t((b + a / 2) / a), uint8_t((a + n / 2) / n));
        }
    }
    return out;
}

} // namespace

std::optional<DecodedImage> DecodeIco(std::span<const uint8_t> data)
{
    const ByteView in(data);
    if (!in.Has(0, kDirSize) || in.U16(0) != 0 || (in.U16(2) != 1 && in.U16(2) != 2))
        return std::nullopt;
    const size_t count = in.U16(4);
    if (count == 0 || !in.Has(kDirSize, count * kEntrySize))
        return std::nullopt;
    std::vector<Entry> entries;
    for (size_t i = 0; i < count; ++i) {
        const size_t at = kDirSize + i * kEntrySize;
        const uint32_t size = in.U32(at + 8), offset = in.U32(at + 12);
        if (size == 0 || !in.Has(offset, size))
            continue;
        // Entries pointing at the same bytes would be decoded again and again.
        if (std::any_of(entries.begin(), entries.end(),
                        [&](const Entry& other) { return other.offset == offset && other.size == size; }))
            continue;
        Entry e;
        e.offset = offset;
        e.size = size;
        e.data = in.Sub(offset, size);
        const uint32_t w = in.U8(at) ? in.U8(at) : 256, h = in.U8(at + 1) ? in.U8(at + 1) : 256;
        e.area = w * h;
        e.depth = IsPng(e.data) ? 32 : ByteView(e.data).U16(14);
        entries.push_back(e);
    }
    std::stable_sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        return a.area != b.area ? a.area > b.area : a.depth > b.depth;
    });
    // The best few are tried; a file whose best entries are all broken is broken.
    constexpr size_t kMaxAttempts = 4;
    for (size_t i = 0; i < entries.size() && i < kMaxAttempts; ++i) {
        const Entry& e = entries[i];
        auto image = IsPng(e.data) ? DecodePng(e.data) : DecodeDib(e.data, 0, 0, DibKind::Icon);
        if (image)
            return image;
    }
    return std::nullopt;
}

bool EncodeIco(const Bitmap& bitmap, bool keepAlpha, ByteSink& sink)
{
    Bitmap scaled;
    const Bitmap* src = &bitmap;
    if (bitmap.width > kMaxIconSide || bitmap.height > kMaxIconSide) {
        const int longer = std::max(bitmap.width, bitmap.height);
        const int w = std::max(1, int((int64_t(bitmap.width) * kMaxIconSide + longer / 2) / longer));
        const int h = std::max(1, int((int64_t(bitmap.height) * kMaxIconSide + longer / 2) / longer));
        Bitmap opaqueOrNot;
        if (!keepAlpha) { // alpha bytes of an opaque capture may hold anything
            opaqueOrNot = bitmap;
            for (uint32_t& p : opaqueOrNot.pixels)
                p |= 0xFF000000u;
        }
        scaled = ScaleDown(keepAlpha ? bitmap : opaqueOrNot, w, h);
        src = &scaled;
    }
    const Bitmap& img = *src;
    const uint32_t xorBytes = uint32_t(DibStride(uint64_t(img.width), 32) * uint64_t(img.height));
    const uint32_t andStride = uint32_t(DibStride(uint64_t(img.width), 1));
    const uint32_t andBytes = andStride * uint32_t(img.height);
    const uint32_t dataSize = 40 + xorBytes + andBytes;

    bool ok = sink.Put16LE(0) && sink.Put16LE(1) && sink.Put16LE(1);
    ok = ok && sink.Put8(uint8_t(img.width & 0xFF)) && sink.Put8(uint8_t(img.height & 0xFF)) &&
         sink.Put8(0) && sink.Put8(0) && sink.Put16LE(1) && sink.Put16LE(32) &&
         sink.Put32LE(dataSize) && sink.Put32LE(uint32_t(kDirSize + kEntrySize));
    ok = ok && sink.Put32LE(40) && sink.Put32LE(uint32_t(img.width)) &&
         sink.Put32LE(uint32_t(img.height) * 2) && sink.Put16LE(1) && sink.Put16LE(32) &&
         sink.Put32LE(0) && sink.Put32LE(xorBytes + andBytes) && sink.Put32LE(0) &&
         sink.Put32LE(0) && sink.Put32LE(0) && sink.Put32LE(0);
    if (!ok)
        return false;
    if (keepAlpha) {
        if (!WriteDibPixels(img, 32, sink))
            return false;
    } else {
        Bitmap opaque = img;
        for (uint32_t& p : opaque.pixels)
            p |= 0xFF000000u;
        if (!WriteDibPixels(opaque, 32, sink))
            return false;
    }
    std::vector<uint8_t> mask(andStride, 0);
    for (int y = img.height - 1; y >= 0; --y) {
        std::fill(mask.begin(), mask.end(), 0);
        if (keepAlpha)
            for (int x = 0; x < img.width; ++x)
                if (AlphaOf(img.at(x, y)) < 128)
                    mask[size_t(x / 8)] |= uint8_t(0x80 >> (x % 8));
        if (!sink.Write(mask.data(), mask.size()))
            return false;
    }
    return true;
}

} // namespace vistrel
