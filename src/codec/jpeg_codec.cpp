// JPEG on libjpeg-turbo. Its errors arrive by longjmp from an error manager, so
// each function that calls setjmp holds only plain values; the library structs
// sit in guards owned by the caller. No exception crosses the library: the
// destination callbacks turn a throwing sink into a write error. A stream that
// ends early is refused (the library would otherwise pad it with grey),
// progressive streams may have a bounded number of scans, and the library's
// own memory is capped.
#include "codec/codec_formats.h"
#include "codec/codec_limits.h"

#include <cstdio>
#include <jpeglib.h>
#include <jerror.h>

#include <algorithm>
#include <array>
#include <csetjmp>
#include <vector>

namespace vistrel {

namespace {

constexpr int kQuality = 90;
constexpr int kMaxScans = 500;
constexpr long kMaxLibraryMemory = 1L << 30;
// A baseline block needs at least two bits and a progressive one at least one,
// so with margin for arithmetic coding a byte stands for at most this many pixels.
constexpr int64_t kMaxPixelsPerByte = 4096;

struct ErrorManager {
    jpeg_error_mgr mgr;
    std::jmp_buf jump;
};

[[noreturn]] void OnError(j_common_ptr cinfo)
{
    std::longjmp(reinterpret_cast<ErrorManager*>(cinfo->err)->jump, 1);
}

void OnMessage(j_common_ptr cinfo, int level)
{
    if (level < 0 && cinfo->err->msg_code == JWRN_JPEG_EOF)
        OnError(cinfo);
}

void OnProgress(j_common_ptr cinfo)
{
    if (cinfo->is_decompressor) {
        auto* d = reinterpret_cast<j_decompress_ptr>(cinfo);
        if (d->progressive_mode && d->input_scan_number > kMaxScans)
            OnError(cinfo);
    }
}

void InstallErrorManager(ErrorManager& err)
{
    jpeg_std_error(&err.mgr);
    err.mgr.error_exit = OnError;
    err.mgr.emit_message = OnMessage;
}

struct DecompressGuard {
    jpeg_decompress_struct cinfo{};
    ErrorManager err{};
    jpeg_progress_mgr progress{};
    bool created = false;
    ~DecompressGuard()
    {
        if (created)
            jpeg_destroy_decompress(&cinfo);
    }
};

void CmykToArgb(const uint8_t* src, int width, bool inverted, uint32_t* dst)
{
    for (int x = 0; x < width; ++x, src += 4) {
        int c = src[0], m = src[1], y = src[2], k = src[3];
        if (!inverted) {
            c = 255 - c;
            m = 255 - m;
            y = 255 - y;
            k = 255 - k;
        }
        dst[x] = MakeArgb(uint8_t(c * k / 255), uint8_t(m * k / 255), uint8_t(y * k / 255));
    }
}

// The largest reduction (1/2, 1/4, 1/8) whose output still covers minWidth x minHeight.
unsigned ReductionFor(JDIMENSION width, JDIMENSION height, int minWidth, int minHeight)
{
    unsigned denom = 1;
    while (denom < 8 && (width + denom * 2 - 1) / (denom * 2) >= JDIMENSION(std::max(minWidth, 1)) &&
           (height + denom * 2 - 1) / (denom * 2) >= JDIMENSION(std::max(minHeight, 1)))
        denom *= 2;
    return denom;
}

// minWidth x minHeight: the least size wanted; 0 x 0 decodes at full size.
bool ReadJpeg(DecompressGuard& g, std::span<const uint8_t> data, DecodedImage& image,
              std::vector<uint8_t>& cmykRow, int minWidth, int minHeight)
{
    jpeg_decompress_struct& cinfo = g.cinfo;
    cinfo.err = &g.err.mgr;
    InstallErrorManager(g.err);
    if (setjmp(g.err.jump))
        return false;
    jpeg_create_decompress(&cinfo);
    g.created = true;
    cinfo.mem->max_memory_to_use = kMaxLibraryMemory;
    g.progress.progress_monitor = OnProgress;
    cinfo.progress = &g.progress;
    jpeg_mem_src(&cinfo, data.data(), static_cast<unsigned long>(data.size()));
    if (jpeg_read_header(&cinfo, TRUE) != JPEG_HEADER_OK)
        return false;
    if (!ImageSizeAllowed(cinfo.image_width, cinfo.image_height, data.size(), kMaxPixelsPerByte))
        return false;
    const bool cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
    cinfo.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGRA;
    image.bitsPerPixel = cinfo.num_components * 8;
    cinfo.scale_num = 1;
    cinfo.scale_denom = (minWidth > 0 || minHeight > 0)
                            ? ReductionFor(cinfo.image_width, cinfo.image_height, minWidth, minHeight)
                            : 1;
    jpeg_calc_output_dimensions(&cinfo);
    const JDIMENSION expected = (cinfo.image_width + cinfo.scale_denom - 1) / cinfo.scale_denom;
    jpeg_start_decompress(&cinfo);
    const int w = int(cinfo.output_width);
    if (cinfo.output_components != 4 || cinfo.output_width != expected)
        return false;
    image.fileWidth = int(cinfo.image_width);
    image.fileHeight = int(cinfo.image_height);
    Bitmap& bitmap = image.bitmap;
    bitmap.width = w;
    if (cmyk)
        cmykRow.resize(size_t(w) * 4);
    while (cinfo.output_scanline < cinfo.output_height) {
        const int y = int(cinfo.output_scanline);
        bitmap.pixels.resize(size_t(y + 1) * size_t(w));
        JSAMPROW row = cmyk ? cmykRow.data() : reinterpret_cast<JSAMPROW>(bitmap.row(y));
        if (jpeg_read_scanlines(&cinfo, &row, 1) != 1)
            return false;
        if (cmyk)
            CmykToArgb(cmykRow.data(), w, cinfo.saw_Adobe_marker, bitmap.row(y));
        bitmap.height = y + 1;
    }
    jpeg_finish_decompress(&cinfo);
    return true;
}

// Destination manager that hands full buffers to a ByteSink.
struct SinkDestination {
    jpeg_destination_mgr pub{};
    ByteSink* sink = nullptr;
    std::array<JOCTET, 1 << 16> buffer{};
};

void InitDestination(j_compress_ptr cinfo)
{
    auto* d = reinterpret_cast<SinkDestination*>(cinfo->dest);
    d->pub.next_output_byte = d->buffer.data();
    d->pub.free_in_buffer = d->buffer.size();
}

boolean EmptyBuffer(j_compress_ptr cinfo) noexcept
{
    auto* d = reinterpret_cast<SinkDestination*>(cinfo->dest);
    if (!WriteNoThrow(*d->sink, d->buffer.data(), d->buffer.size()))
        ERREXIT(cinfo, JERR_FILE_WRITE);
    InitDestination(cinfo);
    return TRUE;
}

void TermDestination(j_compress_ptr cinfo) noexcept
{
    auto* d = reinterpret_cast<SinkDestination*>(cinfo->dest);
    if (!WriteNoThrow(*d->sink, d->buffer.data(), d->buffer.size() - d->pub.free_in_buffer))
        ERREXIT(cinfo, JERR_FILE_WRITE);
}

struct CompressGuard {
    jpeg_compress_struct cinfo{};
    ErrorManager err{};
    SinkDestination dest;
    bool created = false;
    ~CompressGuard()
    {
        if (created)
            jpeg_destroy_compress(&cinfo);
    }
};

bool WriteJpeg(CompressGuard& g, const Bitmap& bitmap)
{
    jpeg_compress_struct& cinfo = g.cinfo;
    cinfo.err = &g.err.mgr;
    InstallErrorManager(g.err);
    if (setjmp(g.err.jump))
        return false;
    jpeg_create_compress(&cinfo);
    g.created = true;
    g.dest.pub.init_destination = InitDestination;
    g.dest.pub.empty_output_buffer = EmptyBuffer;
    g.dest.pub.term_destination = TermDestination;
    cinfo.dest = &g.dest.pub;
    cinfo.image_width = JDIMENSION(bitmap.width);
    cinfo.image_height = JDIMENSION(bitmap.height);
    cinfo.input_components = 4;
    cinfo.in_color_space = JCS_EXT_BGRX; // the Bitmap's bytes as they lie in memory
    jpeg_set_defaults(&cinfo);          // 4:2:0 chroma, as photos and screens both take well
    jpeg_set_quality(&cinfo, kQuality, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        // libjpeg's row type is not const; it only reads the rows.
        JSAMPROW row = reinterpret_cast<JSAMPROW>(const_cast<uint32_t*>(bitmap.row(int(cinfo.next_scanline))));
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    return true;
}

} // namespace

std::optional<DecodedImage> DecodeJpeg(std::span<const uint8_t> data, int minWidth, int minHeight)
{
    if (data.size() < 3 || data[0] != 0xFF || data[1] != 0xD8)
        return std::nullopt;
    DecompressGuard g;
    DecodedImage image;
    std::vector<uint8_t> cmykRow;
    if (!ReadJpeg(g, data, image, cmykRow, minWidth, minHeight))
        return std::nullopt;
    return image;
}

bool EncodeJpeg(const Bitmap& bitmap, ByteSink& sink)
{
    if (bitmap.width > JPEG_MAX_DIMENSION || bitmap.height > JPEG_MAX_DIMENSION)
        return false;
    CompressGuard g;
    g.dest.sink = &sink;
    return WriteJpeg(g, bitmap);
}

} // namespace vistrel
