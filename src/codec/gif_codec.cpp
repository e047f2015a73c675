// GIF on giflib. Reading walks the records by hand and stops after the first
// picture, so a file of many frames costs no more than its first; writing puts
// one picture with a quantized palette (and, for alpha, one transparent entry).
#include "codec/codec_formats.h"
#include "codec/codec_limits.h"
#include "codec/gif_quantize.h"

#include <gif_lib.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

namespace vistrel {

namespace {

// An LZW code of at most 12 bits stands for at most 4096 pixels.
constexpr int64_t kMaxPixelsPerByte = 4096;

struct MemoryInput {
    std::span<const uint8_t> data;
    size_t pos = 0;
};

int ReadInput(GifFileType* gif, GifByteType* out, int size)
{
    auto* in = static_cast<MemoryInput*>(gif->UserData);
    const size_t n = std::min(size_t(std::max(size, 0)), in->data.size() - in->pos);
    std::memcpy(out, in->data.data() + in->pos, n);
    in->pos += n;
    return int(n);
}

// giflib ignores a failed write of the trailer, so the output remembers any
// failure; a throwing sink is a failure too, as no exception may cross giflib.
struct SinkOutput {
    ByteSink& sink;
    bool failed = false;
};

int WriteOutput(GifFileType* gif, const GifByteType* data, int size) noexcept
{
    auto* out = static_cast<SinkOutput*>(gif->UserData);
    if (out->failed || size < 0 || !WriteNoThrow(out->sink, data, size_t(size))) {
        out->failed = true;
        return 0;
    }
    return size;
}

struct DecoderCloser {
    void operator()(GifFileType* gif) const
    {
        int error = 0;
        DGifCloseFile(gif, &error);
    }
};
struct EncoderCloser {
    void operator()(GifFileType* gif) const
    {
        int error = 0;
        EGifCloseFile(gif, &error);
    }
};
struct MapDeleter {
    void operator()(ColorMapObject* map) const { GifFreeMapObject(map); }
};

bool SkipExtension(GifFileType* gif, int& transparent)
{
    int code = 0;
    GifByteType* ext = nullptr;
    if (DGifGetExtension(gif, &code, &ext) == GIF_ERROR)
        return false;
    if (code == GRAPHICS_EXT_FUNC_CODE && ext && ext[0] >= 4)
        transparent = (ext[1] & 1) ? ext[4] : -1;
    while (ext)
        if (DGifGetExtensionNext(gif, &ext) == GIF_ERROR)
            return false;
    return true;
}

std::optional<DecodedImage> ReadFirstFrame(GifFileType* gif, size_t inputSize, int transparent)
{
    if (DGifGetImageDesc(gif) == GIF_ERROR)
        return std::nullopt;
    const GifImageDesc& d = gif->Image;
    const ColorMapObject* map = d.ColorMap ? d.ColorMap : gif->SColorMap;
    if (!map || !map->Colors || d.Width <= 0 || d.Height <= 0 || d.Left < 0 || d.Top < 0)
        return std::nullopt;
    const int64_t canvasW = std::max<int64_t>(gif->SWidth, int64_t(d.Left) + d.Width);
    const int64_t canvasH = std::max<int64_t>(gif->SHeight, int64_t(d.Top) + d.Height);
    if (!ImageSizeAllowed(canvasW, canvasH, inputSize, kMaxPixelsPerByte))
        return std::nullopt;
    DecodedImage image;
    image.bitsPerPixel = map->BitsPerPixel;
    image.bitmap = Bitmap(int(canvasW), int(canvasH), 0); // uncovered canvas is transparent
    std::vector<GifPixelType> line(size_t(d.Width));
    const int starts[] = {0, 4, 2, 1}, steps[] = {8, 8, 4, 2};
    const int passes = d.Interlace ? 4 : 1;
    for (int pass = 0; pass < passes; ++pass) {
        const int start = d.Interlace ? starts[pass] : 0, step = d.Interlace ? steps[pass] : 1;
        for (int y = start; y < d.Height; y += step) {
            if (DGifGetLine(gif, line.data(), d.Width) == GIF_ERROR)
                return std::nullopt;
            uint32_t* dst = image.bitmap.row(d.Top + y) + d.Left;
            for (int x = 0; x < d.Width; ++x) {
                const int index = line[size_t(x)];
                if (index == transparent) {
                    dst[x] = 0;
                } else if (index < map->ColorCount) {
                    const GifColorType& c = map->Colors[index];
                    dst[x] = MakeArgb(c.Red, c.Green, c.Blue);
                } else {
                    dst[x] = MakeArgb(0, 0, 0);
                }
            }
        }
    }
    return image;
}

} // namespace

std::optional<DecodedImage> DecodeGif(std::span<const uint8_t> data)
{
    if (data.size() < 6 || std::memcmp(data.data(), "GIF", 3) != 0)
        return std::nullopt;
    MemoryInput input{data, 0};
    int error = 0;
    std::unique_ptr<GifFileType, DecoderCloser> gif(DGifOpen(&input, ReadInput, &error));
    if (!gif)
        return std::nullopt;
    int transparent = -1;
    for (;;) {
        GifRecordType type = UNDEFINED_RECORD_TYPE;
        if (DGifGetRecordType(gif.get(), &type) == GIF_ERROR)
            return std::nullopt;
        if (type == IMAGE_DESC_RECORD_TYPE)
            return ReadFirstFrame(gif.get(), data.size(), transparent);
        if (type != EXTENSION_RECORD_TYPE || !SkipExtension(gif.get(), transparent))
            return std::nullopt;
    }
}

bool EncodeGif(const Bitmap& bitmap, bool keepAlpha, ByteSink& sink)
{
    if (bitmap.width > 0xFFFF || bitmap.height > 0xFFFF)
        return false;
    const QuantizedImage q = QuantizeImage(bitmap, keepAlpha);
    const int bits = std::max(1, GifBitSize(int(q.palette.size())));
    std::vector<GifColorType> colors(size_t(1) << bits, GifColorType{0, 0, 0});
    for (size_t i = 0; i < q.palette.size(); ++i)
        colors[i] = GifColorType{RedOf(q.palette[i]), GreenOf(q.palette[i]), BlueOf(q.palette[i])};
    std::unique_ptr<ColorMapObject, MapDeleter> map(GifMakeMapObject(int(colors.size()), colors.data()));
    if (!map)
        return false;

    SinkOutput out{sink};
    int error = 0;
    std::unique_ptr<GifFileType, EncoderCloser> gif(EGifOpen(&out, WriteOutput, &error));
    if (!gif)
        return false;
    if (q.transparentIndex >= 0)
        EGifSetGifVersion(gif.get(), true);
    if (EGifPutScreenDesc(gif.get(), bitmap.width, bitmap.height, bits, 0, map.get()) == GIF_ERROR)
        return false;
    if (q.transparentIndex >= 0) {
        GraphicsControlBlock gcb{};
        gcb.DisposalMode = DISPOSAL_UNSPECIFIED;
        gcb.DelayTime = 0;
        gcb.TransparentColor = q.transparentIndex;
        GifByteType ext[4];
        const size_t len = EGifGCBToExtension(&gcb, ext);
        if (EGifPutExtension(gif.get(), GRAPHICS_EXT_FUNC_CODE, int(len), ext) == GIF_ERROR)
            return false;
    }
    if (EGifPutImageDesc(gif.get(), 0, 0, bitmap.width, bitmap.height, false, nullptr) == GIF_ERROR)
        return false;
    for (int y = 0; y < bitmap.height; ++y) {
        auto* line = const_cast<GifPixelType*>(q.indices.data() + size_t(y) * size_t(bitmap.width));
        if (EGifPutLine(gif.get(), line, bitmap.width) == GIF_ERROR)
            return false;
    }
    return EGifCloseFile(gif.release(), &error) == GIF_OK && !out.failed;
}

} // namespace vistrel
