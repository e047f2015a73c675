// PNG reader on libpng. libpng reports errors by longjmp, so the function that
// calls setjmp holds no object with a destructor; the structs live in a guard in
// the caller, which frees them however the decode ends.
#include "codec/codec_formats.h"
#include "codec/codec_limits.h"

#include <png.h>

#include <csetjmp>
#include <cstring>

namespace vistrel {

namespace {

// deflate cannot expand one input byte to more than 1032 bytes.
constexpr int64_t kMaxInflateRatio = 1040;

struct PngReadGuard {
    png_structp png = nullptr;
    png_infop info = nullptr;
    ~PngReadGuard() { png_destroy_read_struct(&png, info ? &info : nullptr, nullptr); }
};

struct MemoryInput {
    std::span<const uint8_t> data;
    size_t pos = 0;
};

void ReadFromMemory(png_structp png, png_bytep out, size_t size)
{
    auto* in = static_cast<MemoryInput*>(png_get_io_ptr(png));
    if (size > in->data.size() - in->pos)
        png_error(png, "truncated");
    std::memcpy(out, in->data.data() + in->pos, size);
    in->pos += size;
}

void OnError(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void OnWarning(png_structp, png_const_charp) {}

bool ReadPng(PngReadGuard& g, MemoryInput& input, DecodedImage& image)
{
    if (setjmp(png_jmpbuf(g.png)))
        return false;
    png_set_read_fn(g.png, &input, ReadFromMemory);
    png_set_user_limits(g.png, uint32_t(kMaxImageSide), uint32_t(kMaxImageSide));
    png_set_chunk_malloc_max(g.png, 8u << 20);
    png_read_info(g.png, g.info);

    png_uint_32 w = 0, h = 0;
    int depth = 0, colorType = 0, interlace = 0;
    png_get_IHDR(g.png, g.info, &w, &h, &depth, &colorType, &interlace, nullptr, nullptr);
    const int channels = png_get_channels(g.png, g.info);
    const int64_t rawBytes = (int64_t(w) * channels * depth + 7) / 8 * int64_t(h);
    if (!ImageSizeAllowed(w, h, SIZE_MAX, 1))
        return false;
    if (int64_t(w) * h > kAlwaysAllowedPixels && rawBytes / kMaxInflateRatio > int64_t(input.data.size()))
        return false; // more than deflate can hold in this many bytes
    image.bitsPerPixel = colorType == PNG_COLOR_TYPE_PALETTE ? depth : channels * depth;

    png_set_expand(g.png);
    png_set_scale_16(g.png); // rounded, as other readers show 16-bit samples
    png_set_gray_to_rgb(g.png);
    png_set_bgr(g.png);
    png_set_filler(g.png, 0xFF, PNG_FILLER_AFTER);
    const int passes = png_set_interlace_handling(g.png);
    png_read_update_info(g.png, g.info);
    if (png_get_rowbytes(g.png, g.info) != size_t(w) * 4)
        return false;

    Bitmap& bitmap = image.bitmap;
    if (passes > 1) {
        bitmap = Bitmap(int(w), int(h));
        for (int pass = 0; pass < passes; ++pass)
            for (png_uint_32 y = 0; y < h; ++y)
                png_read_row(g.png, reinterpret_cast<png_bytep>(bitmap.row(int(y))), nullptr);
    } else {
        // Grows with the rows actually decoded, so a truncated stream that
        // claims a huge picture costs only what it delivers.
        bitmap.width = int(w);
        for (png_uint_32 y = 0; y < h; ++y) {
            bitmap.pixels.resize(size_t(y + 1) * w);
            png_read_row(g.png, reinterpret_cast<png_bytep>(bitmap.pixels.data() + size_t(y) * w), nullptr);
            bitmap.height = int(y + 1);
        }
    }
    png_read_end(g.png, nullptr);
    return true;
}

} // namespace

std::optional<DecodedImage> DecodePng(std::span<const uint8_t> data)
{
    if (data.size() < 8 || png_sig_cmp(data.data(), 0, 8) != 0)
        return std::nullopt;
    PngReadGuard g;
    g.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, OnError, OnWarning);
    if (!g.png)
        return std::nullopt;
    g.info = png_create_info_struct(g.png);
    if (!g.info)
        return std::nullopt;
    MemoryInput input{data, 0};
    DecodedImage image;
    if (!ReadPng(g, input, image))
        return std::nullopt;
    return image;
}

} // namespace vistrel
