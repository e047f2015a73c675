#include "codec/codec_formats.h"
#include "codec/decode.h"
#include "codec/encode.h"

#include <algorithm>
#include <bit>
#include <exception>

namespace vistrel {

// Pixels are stored as 0xAARRGGBB words and handed to the libraries as B,G,R,A bytes.
static_assert(std::endian::native == std::endian::little, "the codec assumes a little-endian host");

namespace {

std::optional<DecodedImage> DecodeAny(std::span<const uint8_t> data, cximage_type type, int minWidth, int minHeight)
{
    std::optional<DecodedImage> image;
    switch (type) {
    case IMAGE_TYPE_BMP: image = DecodeBmp(data); break;
    case IMAGE_TYPE_GIF: image = DecodeGif(data); break;
    case IMAGE_TYPE_JPG: image = DecodeJpeg(data, minWidth, minHeight); break;
    case IMAGE_TYPE_PNG: image = DecodePng(data); break;
    case IMAGE_TYPE_ICO: image = DecodeIco(data); break;
    case IMAGE_TYPE_TIF: image = DecodeTiff(data); break;
    }
    return image;
}

bool EncodeAny(const Bitmap& bitmap, bool keepAlpha, cximage_type type, ByteSink& sink)
{
    switch (type) {
    case IMAGE_TYPE_BMP: return EncodeBmp(bitmap, keepAlpha, sink);
    case IMAGE_TYPE_GIF: return EncodeGif(bitmap, keepAlpha, sink);
    case IMAGE_TYPE_JPG: return EncodeJpeg(bitmap, sink);
    case IMAGE_TYPE_PNG: return EncodePng(bitmap, keepAlpha, sink);
    case IMAGE_TYPE_ICO: return EncodeIco(bitmap, keepAlpha, sink);
    case IMAGE_TYPE_TIF: return EncodeTiff(bitmap, keepAlpha, sink);
    }
    return false;
}

} // namespace

// Out of memory (a large picture the limits allow, a sink growing in memory)
// is a failed decode or encode like any other, not an exception for the caller.
std::optional<DecodedImage> DecodeImageToCover(std::span<const uint8_t> data, cximage_type type, int minWidth,
                                               int minHeight)
{
    std::optional<DecodedImage> image;
    try {
        image = DecodeAny(data, type, minWidth, minHeight);
    } catch (const std::exception&) {
        return std::nullopt;
    }
    if (image && image->bitmap.empty())
        image.reset();
    if (image) {
        image->hasAlpha = HasTransparency(image->bitmap);
        if (image->fileWidth <= 0 || image->fileHeight <= 0) {
            image->fileWidth = image->bitmap.width;
            image->fileHeight = image->bitmap.height;
        }
    }
    return image;
}

std::optional<DecodedImage> DecodeImage(std::span<const uint8_t> data, cximage_type type)
{
    return DecodeImageToCover(data, type, 0, 0);
}

bool EncodeImage(const Bitmap& bitmap, bool keepAlpha, cximage_type type, ByteSink& sink)
{
    if (bitmap.empty() || bitmap.pixels.size() != size_t(bitmap.width) * size_t(bitmap.height))
        return false;
    try {
        return EncodeAny(bitmap, keepAlpha, type, sink);
    } catch (const std::exception&) {
        return false;
    }
}

bool HasTransparency(const Bitmap& bitmap)
{
    return std::any_of(bitmap.pixels.begin(), bitmap.pixels.end(),
                       [](uint32_t p) { return AlphaOf(p) != 0xFF; });
}

} // namespace vistrel
