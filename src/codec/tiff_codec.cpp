// TIFF on libtiff through its client-procedure interface, over bytes in memory
// both ways, with per-handle quiet message handlers (libtiff would otherwise
// print to stderr) and a cap on its single allocations. Plain 8-bit RGB(A)
// files, which is what we write, are read scanline by scanline so that alpha
// comes back exact; everything else goes through libtiff's RGBA reader, whose
// premultiplied output is turned back into straight alpha. The client
// procedures never throw: libtiff is C, and an exception must not cross it.
#include "codec/codec_formats.h"
#include "codec/codec_limits.h"

#include <tiffio.h>

#include <algorithm>
#include <cstdarg>
#include <cstring>
#include <memory>
#include <vector>

namespace vistrel {

namespace {

constexpr int64_t kMaxPixelsPerByte = 1032; // deflate's best ratio
constexpr tmsize_t kMaxSingleAlloc = tmsize_t(256) << 20;
constexpr size_t kTargetStripBytes = size_t(256) << 10;
// Deflate level: about twice as fast as the default 6 for a percent or two in size.
constexpr int kZipLevel = 3;

struct MemoryFile {
    std::span<const uint8_t> input;  // reading
    std::vector<uint8_t>* output = nullptr; // writing
    uint64_t pos = 0;

    uint64_t size() const { return output ? output->size() : input.size(); }
};

MemoryFile* Mem(thandle_t h) { return static_cast<MemoryFile*>(h); }

tmsize_t ReadProc(thandle_t h, void* buf, tmsize_t size)
{
    MemoryFile* f = Mem(h);
    if (f->output || size < 0 || f->pos >= f->input.size())
        return 0;
    const size_t n = std::min<uint64_t>(uint64_t(size), f->input.size() - f->pos);
    std::memcpy(buf, f->input.data() + f->pos, n);
    f->pos += n;
    return tmsize_t(n);
}

// Out of memory is a failed write here, not an exception.
tmsize_t WriteProc(thandle_t h, void* buf, tmsize_t size) noexcept
{
    MemoryFile* f = Mem(h);
    if (!f->output || size < 0 || f->pos > (uint64_t(1) << 32))
        return -1;
    const size_t end = size_t(f->pos) + size_t(size);
    try {
        if (f->output->size() < end)
            f->output->resize(end);
    } catch (const std::exception&) {
        return -1;
    }
    std::memcpy(f->output->data() + f->pos, buf, size_t(size));
    f->pos = end;
    return size;
}

toff_t SeekProc(thandle_t h, toff_t offset, int whence)
{
    MemoryFile* f = Mem(h);
    const uint64_t base = whence == SEEK_CUR ? f->pos : whence == SEEK_END ? f->size() : 0;
    f->pos = base + offset;
    return f->pos;
}

int CloseProc(thandle_t) { return 0; }
toff_t SizeProc(thandle_t h) { return Mem(h)->size(); }
int MapProc(thandle_t, void**, toff_t*) { return 0; }
void UnmapProc(thandle_t, void*, toff_t) {}
int QuietHandler(TIFF*, void*, const char*, const char*, va_list) { return 1; }

struct OptionsDeleter {
    void operator()(TIFFOpenOptions* o) const { TIFFOpenOptionsFree(o); }
};
struct TiffDeleter {
    void operator()(TIFF* t) const { TIFFClose(t); }
};
using TiffPtr = std::unique_ptr<TIFF, TiffDeleter>;

TiffPtr Open(MemoryFile& file, const char* mode)
{
    std::unique_ptr<TIFFOpenOptions, OptionsDeleter> opts(TIFFOpenOptionsAlloc());
    if (!opts)
        return nullptr;
    TIFFOpenOptionsSetErrorHandlerExtR(opts.get(), QuietHandler, nullptr);
    TIFFOpenOptionsSetWarningHandlerExtR(opts.get(), QuietHandler, nullptr);
    TIFFOpenOptionsSetMaxSingleMemAlloc(opts.get(), kMaxSingleAlloc);
    return TiffPtr(TIFFClientOpenExt("memory", mode, &file, ReadProc, WriteProc, SeekProc,
                                     CloseProc, SizeProc, MapProc, UnmapProc, opts.get()));
}

// 8-bit contiguous RGB or RGBA in strips: read as stored.
bool ReadPlainRgb(TIFF* tif, int spp, Bitmap& out)
{
    const tmsize_t lineSize = TIFFScanlineSize(tif);
    if (lineSize < tmsize_t(out.width) * spp)
        return false;
    std::vector<uint8_t> line(static_cast<size_t>(lineSize));
    for (int y = 0; y < out.height; ++y) {
        if (TIFFReadScanline(tif, line.data(), uint32_t(y), 0) != 1)
            return false;
        uint32_t* dst = out.row(y);
        for (int x = 0; x < out.width; ++x) {
            const uint8_t* s = line.data() + size_t(x) * size_t(spp);
            dst[x] = MakeArgb(s[0], s[1], s[2], spp == 4 ? s[3] : 0xFF);
        }
    }
    return true;
}

bool ReadThroughRgba(TIFF* tif, Bitmap& out)
{
    char message[1024];
    if (!TIFFRGBAImageOK(tif, message) ||
        !TIFFReadRGBAImageOriented(tif, uint32_t(out.width), uint32_t(out.height), out.pixels.data(),
                                   ORIENTATION_TOPLEFT, 1))
        return false;
    for (uint32_t& p : out.pixels) { // A,B,G,R from the low byte up, premultiplied
        const uint32_t a = p >> 24;
        uint32_t r = p & 0xFF, g = (p >> 8) & 0xFF, b = (p >> 16) & 0xFF;
        if (a != 0 && a != 255) {
            r = std::min<uint32_t>(255, (r * 255 + a / 2) / a);
            g = std::min<uint32_t>(255, (g * 255 + a / 2) / a);
            b = std::min<uint32_t>(255, (b * 255 + a / 2) / a);
        }
        p = MakeArgb(uint8_t(r), uint8_t(g), uint8_t(b), uint8_t(a));
    }
    return true;
}

} // namespace

std::optional<DecodedImage> DecodeTiff(std::span<const uint8_t> data)
{
    if (data.size() < 8 || !((data[0] == 'I' && data[1] == 'I') || (data[0] == 'M' && data[1] == 'M')))
        return std::nullopt;
    MemoryFile file{data, nullptr, 0};
    TiffPtr tif = Open(file, "rm");
    if (!tif)
        return std::nullopt;
    uint32_t w = 0, h = 0;
    uint16_t bps = 1, spp = 1, planar = PLANARCONFIG_CONTIG, photometric = 0, orientation = ORIENTATION_TOPLEFT;
    if (!TIFFGetField(tif.get(), TIFFTAG_IMAGEWIDTH, &w) || !TIFFGetField(tif.get(), TIFFTAG_IMAGELENGTH, &h) ||
        !ImageSizeAllowed(w, h, data.size(), kMaxPixelsPerByte))
        return std::nullopt;
    TIFFGetFieldDefaulted(tif.get(), TIFFTAG_BITSPERSAMPLE, &bps);
    TIFFGetFieldDefaulted(tif.get(), TIFFTAG_SAMPLESPERPIXEL, &spp);
    TIFFGetFieldDefaulted(tif.get(), TIFFTAG_PLANARCONFIG, &planar);
    TIFFGetFieldDefaulted(tif.get(), TIFFTAG_ORIENTATION, &orientation);
    TIFFGetField(tif.get(), TIFFTAG_PHOTOMETRIC, &photometric);

    DecodedImage image;
    image.bitsPerPixel = std::min(bps * spp, 32);
    image.bitmap = Bitmap(int(w), int(h));
    const bool plain = bps == 8 && (spp == 3 || spp == 4) && planar == PLANARCONFIG_CONTIG &&
                       photometric == PHOTOMETRIC_RGB && orientation == ORIENTATION_TOPLEFT &&
                       !TIFFIsTiled(tif.get());
    if (!(plain ? ReadPlainRgb(tif.get(), spp, image.bitmap) : ReadThroughRgba(tif.get(), image.bitmap)))
        return std::nullopt;
    return image;
}

bool EncodeTiff(const Bitmap& bitmap, bool keepAlpha, ByteSink& sink)
{
    std::vector<uint8_t> bytes;
    {
        MemoryFile file{{}, &bytes, 0};
        TiffPtr tif = Open(file, "w");
        if (!tif)
            return false;
        const int spp = keepAlpha ? 4 : 3;
        const size_t rowBytes = size_t(bitmap.width) * size_t(spp);
        const uint32_t rowsPerStrip = uint32_t(std::max<size_t>(1, kTargetStripBytes / rowBytes));
        TIFF* t = tif.get();
        bool ok = TIFFSetField(t, TIFFTAG_IMAGEWIDTH, uint32_t(bitmap.width)) &&
                  TIFFSetField(t, TIFFTAG_IMAGELENGTH, uint32_t(bitmap.height)) &&
                  TIFFSetField(t, TIFFTAG_BITSPERSAMPLE, 8) && TIFFSetField(t, TIFFTAG_SAMPLESPERPIXEL, spp) &&
                  TIFFSetField(t, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB) &&
                  TIFFSetField(t, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG) &&
                  TIFFSetField(t, TIFFTAG_ORIENTATION, ORIENTATION_TOPLEFT) &&
                  TIFFSetField(t, TIFFTAG_COMPRESSION, COMPRESSION_ADOBE_DEFLATE) &&
                  TIFFSetField(t, TIFFTAG_PREDICTOR, PREDICTOR_HORIZONTAL) &&
                  TIFFSetField(t, TIFFTAG_ZIPQUALITY, kZipLevel) &&
                  TIFFSetField(t, TIFFTAG_ROWSPERSTRIP, rowsPerStrip);
        if (ok && keepAlpha) {
            const uint16_t extra[1] = {EXTRASAMPLE_UNASSALPHA};
            ok = TIFFSetField(t, TIFFTAG_EXTRASAMPLES, 1, extra);
        }
        std::vector<uint8_t> row(rowBytes);
        for (int y = 0; ok && y < bitmap.height; ++y) {
            const uint32_t* src = bitmap.row(y);
            for (int x = 0; x < bitmap.width; ++x) {
                uint8_t* d = row.data() + size_t(x) * size_t(spp);
                d[0] = RedOf(src[x]);
                d[1] = GreenOf(src[x]);
                d[2] = BlueOf(src[x]);
                if (keepAlpha)
                    d[3] = AlphaOf(src[x]);
            }
            ok = TIFFWriteScanline(t, row.data(), uint32_t(y), 0) == 1;
        }
        if (!ok || !TIFFFlush(t))
            return false;
    }
    return !bytes.empty() && sink.Write(bytes.data(), bytes.size());
}

} // namespace vistrel
