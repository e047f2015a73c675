// PNG writer on zlib alone. Screen captures are large and saved while the user
// waits, so the writer converts one row at a time into a small buffer, picks each
// row's filter by the usual minimum-sum-of-differences test, and deflates at a
// low level. Large pictures are cut into bands compressed on separate threads as
// raw deflate streams: every band but the last ends with a sync flush (byte
// aligned, not final), so the bands laid end to end form one valid stream, and
// the zlib trailer carries the Adler-32 sums joined with adler32_combine.
#include "codec/codec_formats.h"
#include "codec/png_encoder.h"
#include "codec/png_filter.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <memory>
#include <thread>
#include <vector>

namespace vistrel {

namespace {

using png_filter::kLead;

constexpr uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
constexpr int64_t kMinPixelsPerBand = 256 * 1024;
constexpr size_t kStripeBytes = 64 * 1024;

struct Band {
    int firstRow = 0;
    int endRow = 0;
    bool last = false;
    std::unique_ptr<uint8_t[]> out;
    size_t outSize = 0;
    uLong adler = 0;
    size_t rawBytes = 0;
    bool ok = false;
};

void ConvertRow(const uint32_t* src, int width, bool alpha, uint8_t* dst)
{
    if (alpha) {
        for (int x = 0; x < width; ++x, dst += 4) {
            const uint32_t p = src[x];
            dst[0] = RedOf(p);
            dst[1] = GreenOf(p);
            dst[2] = BlueOf(p);
            dst[3] = AlphaOf(p);
        }
    } else {
        for (int x = 0; x < width; ++x, dst += 3) {
            const uint32_t p = src[x];
            dst[0] = RedOf(p);
            dst[1] = GreenOf(p);
            dst[2] = BlueOf(p);
        }
    }
}

void CompressBandOrThrow(const Bitmap& bitmap, bool alpha, const PngEncodeOptions& options, Band& band)
{
    const size_t bpp = alpha ? 4 : 3;
    const size_t n = size_t(bitmap.width) * bpp;
    const int rowsPerStripe = int(std::max<size_t>(1, kStripeBytes / (n + 1)));
    // Everything that can throw is allocated before the stream exists, so a
    // failed allocation leaks nothing.
    band.rawBytes = (n + 1) * size_t(band.endRow - band.firstRow);
    const size_t bound = compressBound(uLong(band.rawBytes)) + 64; // covers every deflate level
    band.out = std::make_unique_for_overwrite<uint8_t[]>(bound);
    std::vector<uint8_t> prevBuffer(kLead + n, 0), curBuffer(kLead + n, 0);
    uint8_t* prev = prevBuffer.data() + kLead;
    uint8_t* cur = curBuffer.data() + kLead;
    png_filter::FilteredRows filtered;
    for (size_t k = 0; k < 5; ++k) {
        filtered[k].resize(n + 1);
        filtered[k][0] = uint8_t(k);
    }
    std::vector<uint8_t> stripe;
    stripe.reserve((n + 1) * size_t(rowsPerStripe));
    z_stream z{};
    int strategy = Z_DEFAULT_STRATEGY;
    if (deflateInit2(&z, options.flatLevel, Z_DEFLATED, -15, 9, strategy) != Z_OK)
        return;
    z.next_out = band.out.get();
    z.avail_out = uInt(bound);
    uLong adler = adler32(0, nullptr, 0);
    bool ok = true;
    if (band.firstRow > 0)
        ConvertRow(bitmap.row(band.firstRow - 1), bitmap.width, alpha, prev);
    for (int y = band.firstRow; y < band.endRow && ok;) {
        stripe.clear();
        size_t noisy = 0;
        const int stripeEnd = std::min(band.endRow, y + rowsPerStripe);
        for (; y < stripeEnd; ++y) {
            ConvertRow(bitmap.row(y), bitmap.width, alpha, cur);
            const auto& row = filtered[size_t(png_filter::ChooseFilter(cur, prev, n, bpp, filtered))];
            stripe.insert(stripe.end(), row.begin(), row.end());
            noisy += png_filter::CountSmallResiduals(row.data() + 1, n);
            std::swap(prev, cur);
        }
        // Busy (photo-like) stripes hold few repeats worth searching for:
        // run-length matching codes them as small or smaller, several times
        // faster. Flat ones (user interfaces, text) get the full match search,
        // which finds the repeated glyphs and patterns.
        const bool busy = noisy * 100 > size_t(options.busyPercent) * stripe.size();
        const int wanted = busy ? options.busyStrategy : Z_DEFAULT_STRATEGY;
        if (wanted != strategy) {
            strategy = wanted;
            if (deflateParams(&z, options.flatLevel, strategy) != Z_OK)
                ok = false;
        }
        adler = adler32_z(adler, stripe.data(), stripe.size());
        z.next_in = stripe.data();
        z.avail_in = uInt(stripe.size());
        const bool lastStripe = y == band.endRow;
        const int flush = !lastStripe ? Z_NO_FLUSH : band.last ? Z_FINISH : Z_SYNC_FLUSH;
        const int rc = ok ? deflate(&z, flush) : Z_STREAM_ERROR;
        ok = (rc == Z_OK || rc == Z_STREAM_END) && z.avail_in == 0;
        if (lastStripe && band.last)
            ok = ok && rc == Z_STREAM_END;
    }
    band.outSize = size_t(z.next_out - band.out.get());
    band.adler = adler;
    band.ok = ok;
    deflateEnd(&z);
}

bool WriteChunk(ByteSink& sink, const char* type, const uint8_t* data, size_t size)
{
    if (size > 0x7FFFFFFFu)
        return false;
    uLong crc = crc32(0, reinterpret_cast<const Bytef*>(type), 4);
    if (size > 0) // crc32 of a null buffer restarts the sum
        crc = crc32_z(crc, data, size);
    return sink.Put32BE(uint32_t(size)) && sink.Write(type, 4) && (size == 0 || sink.Write(data, size)) &&
           sink.Put32BE(uint32_t(crc));
}

int BandCount(const Bitmap& bitmap, int requested)
{
    if (requested > 0)
        return std::min(requested, bitmap.height);
    const int64_t pixels = int64_t(bitmap.width) * bitmap.height;
    const int cores = int(std::max(1u, std::thread::hardware_concurrency()));
    return int(std::clamp<int64_t>(pixels / kMinPixelsPerBand, 1, std::min(cores, 2)));
}

// Runs on worker threads too, where an escaping exception would end the process.
void CompressBand(const Bitmap& bitmap, bool alpha, const PngEncodeOptions& options, Band& band) noexcept
{
    try {
        CompressBandOrThrow(bitmap, alpha, options, band);
    } catch (const std::exception&) {
        band.ok = false;
    }
}

} // namespace

bool EncodePngWith(const Bitmap& bitmap, bool keepAlpha, const PngEncodeOptions& options,
                   ByteSink& sink)
{
    const int bandCount = BandCount(bitmap, options.parts);
    std::vector<Band> bands(static_cast<size_t>(bandCount));
    for (int i = 0; i < bandCount; ++i) {
        bands[size_t(i)].firstRow = int(int64_t(bitmap.height) * i / bandCount);
        bands[size_t(i)].endRow = int(int64_t(bitmap.height) * (i + 1) / bandCount);
        bands[size_t(i)].last = i + 1 == bandCount;
    }
    {
        std::vector<std::jthread> workers;
        workers.reserve(bands.size()); // before any thread runs, so a throw here strands none
        for (size_t i = 1; i < bands.size(); ++i) {
            try {
                workers.emplace_back([&, i] { CompressBand(bitmap, keepAlpha, options, bands[i]); });
            } catch (const std::exception&) { // no thread (system_error) or no memory for its state
                CompressBand(bitmap, keepAlpha, options, bands[i]);
            }
        }
        CompressBand(bitmap, keepAlpha, options, bands[0]);
    }
    uLong adler = bands[0].adler;
    for (size_t i = 0; i < bands.size(); ++i) {
        if (!bands[i].ok)
            return false;
        if (i > 0)
            adler = adler32_combine(adler, bands[i].adler, z_off_t(bands[i].rawBytes));
    }

    uint8_t ihdr[13] = {};
    const uint32_t w = uint32_t(bitmap.width), h = uint32_t(bitmap.height);
    const uint8_t dims[8] = {uint8_t(w >> 24), uint8_t(w >> 16), uint8_t(w >> 8), uint8_t(w),
                             uint8_t(h >> 24), uint8_t(h >> 16), uint8_t(h >> 8), uint8_t(h)};
    std::copy(dims, dims + 8, ihdr);
    ihdr[8] = 8;
    ihdr[9] = keepAlpha ? 6 : 2;
    // zlib header: deflate, 32K window, "fastest" level hint; check bits make it a multiple of 31.
    const uint8_t zlibHeader[2] = {0x78, 0x01};
    const uint8_t trailer[4] = {uint8_t(adler >> 24), uint8_t(adler >> 16), uint8_t(adler >> 8),
                                uint8_t(adler)};
    bool ok = sink.Write(kSignature, 8) && WriteChunk(sink, "IHDR", ihdr, sizeof ihdr) &&
              WriteChunk(sink, "IDAT", zlibHeader, 2);
    for (const Band& band : bands)
        ok = ok && WriteChunk(sink, "IDAT", band.out.get(), band.outSize);
    return ok && WriteChunk(sink, "IDAT", trailer, 4) && WriteChunk(sink, "IEND", nullptr, 0);
}

bool EncodePng(const Bitmap& bitmap, bool keepAlpha, ByteSink& sink)
{
    return EncodePngWith(bitmap, keepAlpha, PngEncodeOptions{}, sink);
}

} // namespace vistrel
