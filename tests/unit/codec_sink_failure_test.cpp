// Sinks that fail part way, by refusing a write or by throwing (out of memory
// while a buffer grows): every encoder reports failure and no exception leaves
// it. libjpeg and giflib call the sink from their own frames, so their
// encoders are also called directly: an exception that crossed the library
// would surface there. (TIFF goes to memory first and reaches the sink outside
// libtiff.)
#include "codec/codec_formats.h"
#include "codec/encode.h"
#include "codec/png_encoder.h"

#include <gtest/gtest.h>

#include <functional>
#include <new>
#include <random>
#include <span>
#include <string>
#include <vector>

using namespace vistrel;

namespace {

enum class Failure { Refuse, Throw };

// Accepts writes while they fit in limit bytes; the first that does not fails,
// and so does every later one.
class LimitedSink final : public ByteSink {
public:
    LimitedSink(size_t limit, Failure how) : m_limit(limit), m_how(how) {}

    bool Write(const void*, size_t size) override
    {
        if (m_failed || size > m_limit - m_written) {
            m_failed = true;
            if (m_how == Failure::Throw)
                throw std::bad_alloc();
            return false;
        }
        m_written += size;
        return true;
    }
    size_t written() const { return m_written; }

private:
    size_t m_limit;
    Failure m_how;
    size_t m_written = 0;
    bool m_failed = false;
};

// Noise with some flat rows, so that the JPEG output spans several of the
// destination manager's buffers and the PNG rows take several filters.
Bitmap Picture(int w, int h, unsigned seed)
{
    Bitmap b(w, h);
    std::mt19937 rng(seed);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            b.at(x, y) = y % 7 == 3 ? MakeArgb(10, 20, 30, 128) : uint32_t(rng());
    return b;
}

// Every byte of the first few (headers), then a spread, then the last few.
std::vector<size_t> CutPoints(size_t total, bool every)
{
    std::vector<size_t> cuts;
    for (size_t i = 0; i < total; i += every && i < 24 ? 1 : 1 + total / 12)
        cuts.push_back(i);
    for (size_t back = 1; back <= 6 && back <= total; ++back)
        cuts.push_back(total - back);
    return cuts;
}

using Encoder = std::function<bool(ByteSink&)>;
const Failure kBothWays[] = {Failure::Refuse, Failure::Throw};

// Encodes once in full, then with the sink failing at each cut point in each
// way given: false every time, true again once the whole file fits.
void ExpectCleanFailures(const Encoder& encode, bool every, std::span<const Failure> ways, const std::string& what)
{
    VectorSink whole;
    ASSERT_TRUE(encode(whole)) << what;
    const size_t total = whole.bytes().size();
    ASSERT_GT(total, 0u) << what;
    for (const Failure how : ways) {
        const std::string name = what + (how == Failure::Throw ? " throwing" : " refusing");
        for (size_t cut : CutPoints(total, every)) {
            LimitedSink sink(cut, how);
            bool ok = true;
            EXPECT_NO_THROW(ok = encode(sink)) << name << " at byte " << cut;
            EXPECT_FALSE(ok) << name << " at byte " << cut << " of " << total;
        }
        LimitedSink exact(total, how);
        EXPECT_TRUE(encode(exact)) << name;
        EXPECT_EQ(exact.written(), total) << name;
    }
}

const cximage_type kTypes[] = {IMAGE_TYPE_BMP, IMAGE_TYPE_GIF, IMAGE_TYPE_JPG,
                               IMAGE_TYPE_PNG, IMAGE_TYPE_ICO, IMAGE_TYPE_TIF};

} // namespace

TEST(CodecSinkFailure, EveryTypeFailsCleanlyWhereverTheSinkGivesUp)
{
    const Bitmap small = Picture(37, 23, 1);
    for (const cximage_type type : kTypes)
        for (const bool alpha : {false, true})
            ExpectCleanFailures([&](ByteSink& s) { return EncodeImage(small, alpha, type, s); }, true, kBothWays,
                                "type " + std::to_string(type) + (alpha ? " alpha" : " opaque"));
}

TEST(CodecSinkFailure, CLibraryEncodersTurnAThrowingSinkIntoAnError)
{
    // More than one of the JPEG destination manager's 64 KiB buffers.
    const Bitmap large = Picture(400, 300, 2);
    VectorSink jpeg;
    ASSERT_TRUE(EncodeJpeg(large, jpeg));
    ASSERT_GT(jpeg.bytes().size(), size_t(1) << 16);
    ExpectCleanFailures([&](ByteSink& s) { return EncodeJpeg(large, s); }, false, kBothWays, "JPEG");

    const Bitmap small = Picture(37, 23, 3);
    const Failure throwing[] = {Failure::Throw};
    ExpectCleanFailures([&](ByteSink& s) { return EncodeJpeg(small, s); }, true, throwing, "JPEG small");
    for (const bool alpha : {false, true})
        ExpectCleanFailures([&](ByteSink& s) { return EncodeGif(small, alpha, s); }, true, throwing, "GIF");
}

// A picture cut into bands compressed on worker threads. The sink is written on
// the caller's thread once the workers are done, so a throwing sink's exception
// reaches the caller (EncodeImage turns it into false) with every thread joined.
TEST(CodecSinkFailure, PngInBandsFailsCleanly)
{
    const Bitmap medium = Picture(300, 200, 4);
    PngEncodeOptions options;
    options.parts = 3;
    VectorSink whole;
    ASSERT_TRUE(EncodePngWith(medium, true, options, whole));
    for (size_t cut : CutPoints(whole.bytes().size(), false)) {
        LimitedSink refusing(cut, Failure::Refuse);
        EXPECT_FALSE(EncodePngWith(medium, true, options, refusing)) << cut;
        LimitedSink throwing(cut, Failure::Throw);
        EXPECT_THROW(EncodePngWith(medium, true, options, throwing), std::bad_alloc) << cut;
    }
    VectorSink again;
    ASSERT_TRUE(EncodePngWith(medium, true, options, again));
    EXPECT_EQ(again.bytes(), whole.bytes());
}
