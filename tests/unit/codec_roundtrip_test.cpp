// Every image type written and read back, through files, and checked by an
// outside reader (ImageMagick's identify) when one is installed.
#include "codec/decode.h"
#include "codec/encode.h"
#include "codec/gif_quantize.h"
#include "codec/image.h"
#include "codec/png_encoder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <set>
#include <string>

using namespace vistrel;
namespace fs = std::filesystem;

namespace {

// Gradients, flat areas and noise, so that every PNG filter and both zlib
// strategies get used.
Bitmap TestPicture(int w, int h, bool withAlpha, unsigned seed = 1)
{
    Bitmap b(w, h);
    std::mt19937 rng(seed);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const bool noisy = x < w / 2;
            const uint8_t r = noisy ? uint8_t(x * 3 + (rng() & 15)) : uint8_t(x / 8 * 8);
            const uint8_t g = noisy ? uint8_t(y * 5 + (rng() & 7)) : 200;
            const uint8_t bl = uint8_t((x ^ y) & 0xF0);
            const uint8_t a = withAlpha ? uint8_t((x * 7 + y * 3) & 0xFF) : 0xFF;
            b.at(x, y) = MakeArgb(r, g, bl, a);
        }
    return b;
}

class TempDir {
public:
    TempDir()
    {
        char name[] = "/tmp/codec_test_XXXXXX";
        m_path = mkdtemp(name);
    }
    ~TempDir() { fs::remove_all(m_path); }
    std::string File(const std::string& name) const { return (m_path / name).string(); }

private:
    fs::path m_path;
};

bool IdentifyAvailable() { return std::system("command -v identify >/dev/null 2>&1") == 0; }

// "WIDTHxHEIGHT FORMAT" as identify reports the first picture of a file.
std::string Identify(const std::string& path)
{
    const std::string cmd = "identify -format '%wx%h %m\\n' '" + path + "' 2>/dev/null";
    FILE* p = popen(cmd.c_str(), "r");
    if (!p)
        return "";
    char line[256] = {};
    const bool got = std::fgets(line, sizeof line, p) != nullptr;
    pclose(p);
    std::string s = got ? line : "";
    if (!s.empty() && s.back() == '\n')
        s.pop_back();
    return s;
}

double MeanChannelDifference(const Bitmap& a, const Bitmap& b)
{
    double sum = 0;
    for (size_t i = 0; i < a.pixels.size(); ++i)
        for (int shift = 0; shift < 32; shift += 8)
            sum += std::abs(int((a.pixels[i] >> shift) & 0xFF) - int((b.pixels[i] >> shift) & 0xFF));
    return sum / double(a.pixels.size() * 4);
}

struct TypeCase {
    cximage_type type;
    const char* extension;
    const char* identifyFormat;
};

const TypeCase kTypes[] = {{IMAGE_TYPE_BMP, "bmp", "BMP"}, {IMAGE_TYPE_GIF, "gif", "GIF"},
                           {IMAGE_TYPE_JPG, "jpg", "JPEG"}, {IMAGE_TYPE_PNG, "png", "PNG"},
                           {IMAGE_TYPE_ICO, "ico", "ICO"}, {IMAGE_TYPE_TIF, "tif", "TIFF"}};

} // namespace

TEST(CodecRoundTrip, OpaqueCapturesComeBackAsWritten)
{
    TempDir dir;
    // Odd width: BMP row padding and SIMD tails.
    const Bitmap picture = TestPicture(157, 93, false);
    for (const TypeCase& t : kTypes) {
        SCOPED_TRACE(t.extension);
        const std::string path = dir.File(std::string("a.") + t.extension);
        // The spare byte of a 24-bit capture holds anything; it must not matter.
        Bitmap capture = picture;
        for (uint32_t& p : capture.pixels)
            p &= 0x00FFFFFFu;
        ASSERT_NE(CImage(capture, 24).Save(path.c_str(), t.type), 0);
        CImage back(path.c_str(), t.type);
        ASSERT_TRUE(back.IsValid());
        ASSERT_EQ(back.GetWidth(), 157);
        ASSERT_EQ(back.GetHeight(), 93);
        if (t.type == IMAGE_TYPE_JPG || t.type == IMAGE_TYPE_GIF)
            EXPECT_LT(MeanChannelDifference(back.bitmap(), picture), t.type == IMAGE_TYPE_JPG ? 6.0 : 4.0);
        else
            EXPECT_EQ(back.bitmap().pixels, picture.pixels);
        EXPECT_FALSE(back.KeepsAlpha());
    }
}

TEST(CodecRoundTrip, AlphaIsKeptWhereTheTypeHasIt)
{
    TempDir dir;
    const Bitmap picture = TestPicture(64, 48, true);
    for (cximage_type type : {IMAGE_TYPE_BMP, IMAGE_TYPE_PNG, IMAGE_TYPE_ICO, IMAGE_TYPE_TIF}) {
        SCOPED_TRACE(type);
        const std::string path = dir.File("alpha" + std::string(ImageTypeExtension(type)));
        CImage image(picture, 32);
        ASSERT_TRUE(image.KeepsAlpha());
        ASSERT_NE(image.Save(path.c_str(), type), 0);
        CImage back(path.c_str(), type);
        ASSERT_TRUE(back.IsValid());
        EXPECT_EQ(back.GetBpp(), 32);
        EXPECT_EQ(back.bitmap().pixels, picture.pixels);
        // Save As keeps the transparency of a decoded picture.
        const std::string copy = dir.File("copy" + std::string(ImageTypeExtension(type)));
        ASSERT_NE(CImage(back).Save(copy.c_str(), type), 0);
        EXPECT_EQ(CImage(copy.c_str(), type).bitmap().pixels, picture.pixels);
    }
    // GIF: one transparent entry for alpha below 128.
    const std::string gif = dir.File("alpha.gif");
    ASSERT_NE(CImage(picture, 32).Save(gif.c_str(), IMAGE_TYPE_GIF), 0);
    const CImage back(gif.c_str(), IMAGE_TYPE_GIF);
    ASSERT_TRUE(back.IsValid());
    for (size_t i = 0; i < picture.pixels.size(); ++i)
        ASSERT_EQ(AlphaOf(back.bitmap().pixels[i]), AlphaOf(picture.pixels[i]) < 128 ? 0 : 255) << i;
}

TEST(CodecRoundTrip, OutsideReaderAcceptsEveryFile)
{
    if (!IdentifyAvailable())
        GTEST_SKIP() << "identify (ImageMagick) is not installed";
    TempDir dir;
    for (bool alpha : {false, true}) {
        const Bitmap picture = TestPicture(300, 200, alpha);
        for (const TypeCase& t : kTypes) {
            SCOPED_TRACE(std::string(t.extension) + (alpha ? " alpha" : ""));
            const std::string path = dir.File(std::string(alpha ? "b." : "a.") + t.extension);
            ASSERT_NE(CImage(picture, alpha ? 32 : 24).Save(path.c_str(), t.type), 0);
            const std::string expectedSize = t.type == IMAGE_TYPE_ICO ? "256x171" : "300x200";
            // identify names 24-bit BMPs "BMP3".
            EXPECT_EQ(Identify(path).rfind(expectedSize + " " + t.identifyFormat, 0), 0u) << Identify(path);
        }
    }
}

TEST(CodecRoundTrip, LargePngUsesBandsAndStaysExact)
{
    // Large enough for two bands; both zlib strategies and a stream joined from
    // two deflate streams must decode to the same pixels, whatever the band count.
    const Bitmap picture = TestPicture(1100, 700, false, 7);
    for (int parts : {1, 2, 3}) {
        SCOPED_TRACE(parts);
        PngEncodeOptions options;
        options.parts = parts;
        VectorSink sink;
        ASSERT_TRUE(EncodePngWith(picture, false, options, sink));
        const auto back = DecodeImage(sink.bytes(), IMAGE_TYPE_PNG);
        ASSERT_TRUE(back.has_value());
        EXPECT_EQ(back->bitmap.pixels, picture.pixels);
        EXPECT_EQ(back->bitsPerPixel, 24);
    }
}

TEST(CodecRoundTrip, LargeIconIsScaledToFit)
{
    Bitmap wide(1000, 500, MakeArgb(10, 20, 30));
    for (int y = 0; y < 500; ++y)
        for (int x = 0; x < 500; ++x)
            wide.at(x, y) = MakeArgb(200, 100, 50);
    VectorSink sink;
    ASSERT_TRUE(EncodeImage(wide, false, IMAGE_TYPE_ICO, sink));
    const auto icon = DecodeImage(sink.bytes(), IMAGE_TYPE_ICO);
    ASSERT_TRUE(icon.has_value());
    EXPECT_EQ(icon->bitmap.width, 256);
    EXPECT_EQ(icon->bitmap.height, 128);
    EXPECT_FALSE(icon->hasAlpha);
    EXPECT_EQ(icon->bitmap.at(0, 0), MakeArgb(200, 100, 50));
    EXPECT_EQ(icon->bitmap.at(255, 127), MakeArgb(10, 20, 30));
}

TEST(CodecQuantizer, ExactForFewColoursAndBoundedForMany)
{
    // Exactly 256 colours: exact.
    Bitmap exact(16, 16);
    for (int i = 0; i < 256; ++i)
        exact.pixels[size_t(i)] = MakeArgb(uint8_t(i), uint8_t(255 - i), uint8_t(i * 7));
    QuantizedImage q = QuantizeImage(exact, false);
    ASSERT_EQ(q.palette.size(), 256u);
    for (size_t i = 0; i < exact.pixels.size(); ++i)
        ASSERT_EQ(q.palette[q.indices[i]], exact.pixels[i]);

    const Bitmap many = TestPicture(200, 150, false);
    q = QuantizeImage(many, false);
    EXPECT_LE(q.palette.size(), 256u);
    EXPECT_GE(q.palette.size(), 200u); // a real palette, not a handful of levels
    EXPECT_EQ(q.transparentIndex, -1);
    double error = 0;
    for (size_t i = 0; i < many.pixels.size(); ++i)
        error += std::abs(int(RedOf(q.palette[q.indices[i]])) - int(RedOf(many.pixels[i])));
    EXPECT_LT(error / double(many.pixels.size()), 6.0);

    // With transparency: one entry is reserved, and the total stays within 256.
    q = QuantizeImage(TestPicture(200, 150, true), true);
    EXPECT_LE(q.palette.size(), 256u);
    ASSERT_GE(q.transparentIndex, 0);
}
