// BMP files: a 14-byte file header in front of a DIB. Written 24-bit (opaque) or
// 32-bit with a BITMAPV4HEADER whose masks name the alpha byte, both bottom-up,
// which every viewer reads.
#include "codec/byte_view.h"
#include "codec/codec_formats.h"
#include "codec/dib.h"

namespace vistrel {

namespace {
constexpr uint32_t kFileHeaderSize = 14;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kV4HeaderSize = 108;
constexpr uint32_t kPixelsPerMeter96Dpi = 3780;
} // namespace

std::optional<DecodedImage> DecodeBmp(std::span<const uint8_t> data)
{
    const ByteView in(data);
    if (!in.Has(0, kFileHeaderSize) || in.U8(0) != 'B' || in.U8(1) != 'M')
        return std::nullopt;
    return DecodeDib(data, kFileHeaderSize, in.U32(10), DibKind::File);
}

bool EncodeBmp(const Bitmap& bitmap, bool keepAlpha, ByteSink& sink)
{
    const int bpp = keepAlpha ? 32 : 24;
    const uint32_t headerSize = keepAlpha ? kV4HeaderSize : kInfoHeaderSize;
    const uint64_t imageBytes = DibStride(uint64_t(bitmap.width), uint64_t(bpp)) * uint64_t(bitmap.height);
    const uint64_t fileSize = kFileHeaderSize + headerSize + imageBytes;
    if (fileSize > 0xFFFFFFFFu)
        return false;
    bool ok = sink.Put8('B') && sink.Put8('M') && sink.Put32LE(uint32_t(fileSize)) &&
              sink.Put32LE(0) && sink.Put32LE(kFileHeaderSize + headerSize);
    ok = ok && sink.Put32LE(headerSize) && sink.Put32LE(uint32_t(bitmap.width)) &&
         sink.Put32LE(uint32_t(bitmap.height)) && sink.Put16LE(1) && sink.Put16LE(uint16_t(bpp)) &&
         sink.Put32LE(keepAlpha ? 3 : 0) && sink.Put32LE(uint32_t(imageBytes)) &&
         sink.Put32LE(kPixelsPerMeter96Dpi) && sink.Put32LE(kPixelsPerMeter96Dpi) &&
         sink.Put32LE(0) && sink.Put32LE(0);
    if (ok && keepAlpha) {
        ok = sink.Put32LE(0x00FF0000) && sink.Put32LE(0x0000FF00) && sink.Put32LE(0x000000FF) &&
             sink.Put32LE(0xFF000000u) && sink.Put32LE(0x73524742); // 'sRGB'
        for (int i = 0; ok && i < 12; ++i) // endpoints and gamma, unused with sRGB
            ok = sink.Put32LE(0);
    }
    return ok && WriteDibPixels(bitmap, bpp, sink);
}

} // namespace vistrel
