// Broken, truncated and hostile files: each decoder gives nothing, quickly and
// without a giant allocation; and the DIB variants that real files use decode
// to the right pixels.
#include "codec/decode.h"
#include "codec/encode.h"

#include <gtest/gtest.h>

#include <chrono>
#include <initializer_list>
#include <vector>

using namespace vistrel;

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Encode(const Bitmap& b, bool alpha, cximage_type type)
{
    VectorSink sink;
    EXPECT_TRUE(EncodeImage(b, alpha, type, sink));
    return sink.bytes();
}

Bitmap Small(int w, int h)
{
    Bitmap b(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            b.at(x, y) = MakeArgb(uint8_t(x * 40), uint8_t(y * 50), uint8_t(x * y), uint8_t(255 - x * 20));
    return b;
}

void Put16(Bytes& v, uint16_t x) { v.insert(v.end(), {uint8_t(x), uint8_t(x >> 8)}); }
void Put32(Bytes& v, uint32_t x) { v.insert(v.end(), {uint8_t(x), uint8_t(x >> 8), uint8_t(x >> 16), uint8_t(x >> 24)}); }

// A BMP: file header, BITMAPINFOHEADER with the fields given, then extra
// (palette or masks), then pixels.
Bytes MakeBmp(int32_t w, int32_t h, uint16_t bpp, uint32_t compression, const Bytes& extra, const Bytes& pixels,
              uint32_t colorsUsed = 0)
{
    Bytes v = {'B', 'M'};
    Put32(v, uint32_t(54 + extra.size() + pixels.size()));
    Put32(v, 0);
    Put32(v, uint32_t(54 + extra.size()));
    Put32(v, 40);
    Put32(v, uint32_t(w));
    Put32(v, uint32_t(h));
    Put16(v, 1);
    Put16(v, bpp);
    Put32(v, compression);
    Put32(v, uint32_t(pixels.size()));
    Put32(v, 2835);
    Put32(v, 2835);
    Put32(v, colorsUsed);
    Put32(v, 0);
    v.insert(v.end(), extra.begin(), extra.end());
    v.insert(v.end(), pixels.begin(), pixels.end());
    return v;
}

const uint32_t kRed = MakeArgb(255, 0, 0), kGreen = MakeArgb(0, 255, 0), kBlue = MakeArgb(0, 0, 255),
               kWhite = MakeArgb(255, 255, 255);
// Palette entries B, G, R, 0 for red, green, blue, white.
const Bytes kPalette = {0, 0, 255, 0, 0, 255, 0, 0, 255, 0, 0, 0, 255, 255, 255, 0};

} // namespace

TEST(CodecHostile, EveryTruncationOfBmpAndIcoIsRefused)
{
    for (bool alpha : {false, true})
        for (cximage_type type : {IMAGE_TYPE_BMP, IMAGE_TYPE_ICO}) {
            const Bytes whole = Encode(Small(5, 3), alpha, type);
            ASSERT_TRUE(DecodeImage(whole, type).has_value());
            for (size_t cut = 0; cut < whole.size(); ++cut)
                EXPECT_FALSE(DecodeImage(std::span(whole.data(), cut), type).has_value())
                    << "type " << type << " cut at " << cut;
        }
}

TEST(CodecHostile, TruncatedLibraryFormatsAreRefused)
{
    const Bitmap picture = Small(7, 6);
    for (cximage_type type : {IMAGE_TYPE_PNG, IMAGE_TYPE_JPG, IMAGE_TYPE_GIF, IMAGE_TYPE_TIF}) {
        const Bytes whole = Encode(picture, true, type);
        ASSERT_TRUE(DecodeImage(whole, type).has_value()) << type;
        // Every point for these small files; what matters is no crash or leak
        // (the sanitizer builds check), and that no cut before the pixel data
        // ends yields a picture.
        for (size_t cut = 0; cut + 1 < whole.size(); ++cut) {
            const auto image = DecodeImage(std::span(whole.data(), cut), type);
            if (type != IMAGE_TYPE_TIF && cut < whole.size() / 2) {
                EXPECT_FALSE(image.has_value()) << "type " << type << " cut at " << cut;
            }
        }
    }
}

TEST(CodecHostile, GarbageAndWrongTypesAreRefused)
{
    const Bytes png = Encode(Small(4, 4), false, IMAGE_TYPE_PNG);
    for (int type = 0; type < 6; ++type) {
        EXPECT_FALSE(DecodeImage({}, cximage_type(type)).has_value());
        Bytes noise(300);
        for (size_t i = 0; i < noise.size(); ++i)
            noise[i] = uint8_t(i * 131 + 7);
        EXPECT_FALSE(DecodeImage(noise, cximage_type(type)).has_value());
        if (type != IMAGE_TYPE_PNG && type != IMAGE_TYPE_ICO) {
            EXPECT_FALSE(DecodeImage(png, cximage_type(type)).has_value()) << type;
        }
    }
    EXPECT_FALSE(DecodeImage(png, cximage_type(17)).has_value());
}

TEST(CodecHostile, AbsurdDimensionsAreRefusedQuickly)
{
    const auto start = std::chrono::steady_clock::now();
    // BMP claiming 100000 x 100000, and 30000 x 30000 with no pixels after the header.
    EXPECT_FALSE(DecodeImage(MakeBmp(100000, 100000, 24, 0, {}, {}), IMAGE_TYPE_BMP));
    EXPECT_FALSE(DecodeImage(MakeBmp(30000, 30000, 24, 0, {}, {1, 2, 3}), IMAGE_TYPE_BMP));
    EXPECT_FALSE(DecodeImage(MakeBmp(30000, -30000, 8, 1, kPalette, {0, 1}, 4), IMAGE_TYPE_BMP));
    EXPECT_FALSE(DecodeImage(MakeBmp(30000, 30000, 8, 1, kPalette, {0, 1}, 4), IMAGE_TYPE_BMP));
    EXPECT_FALSE(DecodeImage(MakeBmp(INT32_MIN, 2, 24, 0, {}, {}), IMAGE_TYPE_BMP));

    // PNG whose header says 30000 x 30000: patch the IHDR of a real file.
    Bytes png = Encode(Small(4, 4), false, IMAGE_TYPE_PNG);
    for (size_t at : {size_t(16), size_t(20)}) {
        png[at] = 0;
        png[at + 1] = 0;
        png[at + 2] = 0x75;
        png[at + 3] = 0x30;
    }
    EXPECT_FALSE(DecodeImage(png, IMAGE_TYPE_PNG));

    // GIF screen of 65535 x 65535 with a tiny first frame.
    Bytes gif = Encode(Small(4, 4), false, IMAGE_TYPE_GIF);
    gif[6] = gif[7] = gif[8] = gif[9] = 0xFF;
    EXPECT_FALSE(DecodeImage(gif, IMAGE_TYPE_GIF));

    // JPEG whose frame header claims 60000 x 60000.
    Bytes jpg = Encode(Small(8, 8), false, IMAGE_TYPE_JPG);
    for (size_t i = 0; i + 8 < jpg.size(); ++i)
        if (jpg[i] == 0xFF && jpg[i + 1] == 0xC0) {
            jpg[i + 5] = jpg[i + 7] = 0xEA;
            jpg[i + 6] = jpg[i + 8] = 0x60;
            break;
        }
    EXPECT_FALSE(DecodeImage(jpg, IMAGE_TYPE_JPG));

    // ICO whose only entry points past the end of the file.
    Bytes ico = Encode(Small(4, 4), false, IMAGE_TYPE_ICO);
    ico[18] = 0xF0;
    EXPECT_FALSE(DecodeImage(ico, IMAGE_TYPE_ICO));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
}

TEST(CodecBmpVariants, PalettedPackedAndMaskedPixels)
{
    // 2 x 2, bottom-up: the first stored row is the bottom one.
    // 1 bit: rows padded to 4 bytes.
    auto img = DecodeImage(MakeBmp(2, 2, 1, 0, Bytes(kPalette.begin(), kPalette.begin() + 8),
                                   {0x40, 0, 0, 0, 0x80, 0, 0, 0}),
                           IMAGE_TYPE_BMP);
    ASSERT_TRUE(img);
    EXPECT_EQ(img->bitsPerPixel, 1);
    EXPECT_EQ(img->bitmap.pixels, (PixelVector{kGreen, kRed, kRed, kGreen}));

    img = DecodeImage(MakeBmp(3, 1, 4, 0, kPalette, {0x12, 0x30, 0, 0}, 4), IMAGE_TYPE_BMP);
    ASSERT_TRUE(img);
    EXPECT_EQ(img->bitmap.pixels, (PixelVector{kGreen, kBlue, kWhite}));

    // 8 bit, top-down (negative height), an index past the palette reads as black.
    img = DecodeImage(MakeBmp(2, -2, 8, 0, kPalette, {0, 1, 0, 0, 3, 9, 0, 0}, 4), IMAGE_TYPE_BMP);
    ASSERT_TRUE(img);
    EXPECT_EQ(img->bitmap.pixels, (PixelVector{kRed, kGreen, kWhite, MakeArgb(0, 0, 0)}));

    // 16 bit default 5-5-5, and 5-6-5 through BI_BITFIELDS.
    img = DecodeImage(MakeBmp(2, 1, 16, 0, {}, {0x00, 0x7C, 0x1F, 0x00}), IMAGE_TYPE_BMP);
    ASSERT_TRUE(img);
    EXPECT_EQ(img->bitmap.pixels, (PixelVector{kRed, kBlue}));
    Bytes masks565;
    Put32(masks565, 0xF800);
    Put32(masks565, 0x07E0);
    Put32(masks565, 0x001F);
    img = DecodeImage(MakeBmp(2, 1, 16, 3, masks565, {0xE0, 0x07, 0xFF, 0xFF}), IMAGE_TYPE_BMP);
    ASSERT_TRUE(img);
    EXPECT_EQ(img->bitmap.pixels, (PixelVector{kGreen, kWhite}));

    // 32-bit BI_RGB: the spare byte is not alpha.
    img = DecodeImage(MakeBmp(1, 1, 32, 0, {}, {1, 2, 3, 0}), IMAGE_TYPE_BMP);
    ASSERT_TRUE(img);
    EXPECT_EQ(img->bitmap.pixels[0], MakeArgb(3, 2, 1));
    EXPECT_FALSE(img->hasAlpha);
}

TEST(CodecBmpVariants, RunLengthEncoded)
{
    // RLE8, 4 x 2: bottom row "run of 3 red, literal green", end of line;
    // top row: delta right by 2, run of 2 blue, end of bitmap. Skipped pixels
    // keep palette entry 0.
    const Bytes rle8 = {3, 0, 0, 3, 1, 1, 1, 0, 0, 0, 0, 2, 2, 0, 2, 2, 0, 1};
    auto img = DecodeImage(MakeBmp(4, 2, 8, 1, kPalette, rle8, 4), IMAGE_TYPE_BMP);
    ASSERT_TRUE(img);
    EXPECT_EQ(img->bitmap.pixels, (PixelVector{kRed, kRed, kBlue, kBlue, kRed, kRed, kRed, kGreen}));
    // RLE4, 5 x 1: run of 5 alternating green/blue.
    img = DecodeImage(MakeBmp(5, 1, 4, 2, kPalette, {5, 0x12, 0, 1}, 4), IMAGE_TYPE_BMP);
    ASSERT_TRUE(img);
    EXPECT_EQ(img->bitmap.pixels, (PixelVector{kGreen, kBlue, kGreen, kBlue, kGreen}));
    // Data that stops before the last row is truncated.
    EXPECT_FALSE(DecodeImage(MakeBmp(4, 2, 8, 1, kPalette, {3, 0, 0, 0}, 4), IMAGE_TYPE_BMP));
}

TEST(CodecIcoVariants, LargestEntryAndAndMask)
{
    // Two entries: a 2 x 2 24-bit DIB with an AND mask (one pixel transparent)
    // and a 1 x 1 one; the larger wins.
    auto dib = [](int w, int h, const Bytes& pixels, const Bytes& mask) {
        Bytes v;
        Put32(v, 40);
        Put32(v, uint32_t(w));
        Put32(v, uint32_t(h * 2));
        Put16(v, 1);
        Put16(v, 24);
        for (int i = 0; i < 6; ++i)
            Put32(v, 0);
        v.insert(v.end(), pixels.begin(), pixels.end());
        v.insert(v.end(), mask.begin(), mask.end());
        return v;
    };
    const Bytes big = dib(2, 2, {0, 0, 255, 0, 255, 0, 0, 0, 255, 0, 0, 255, 255, 255, 0, 0},
                          {0x40, 0, 0, 0, 0, 0, 0, 0});
    const Bytes small = dib(1, 1, {0, 0, 255, 0}, {0, 0, 0, 0});
    Bytes ico;
    Put16(ico, 0);
    Put16(ico, 1);
    Put16(ico, 2);
    const uint32_t first = 6 + 32;
    for (const auto& [w, size, offset] : {std::tuple{1, small.size(), first}, std::tuple{2, big.size(), first + uint32_t(small.size())}}) {
        ico.insert(ico.end(), {uint8_t(w), uint8_t(w), 0, 0});
        Put16(ico, 1);
        Put16(ico, 24);
        Put32(ico, uint32_t(size));
        Put32(ico, offset);
    }
    ico.insert(ico.end(), small.begin(), small.end());
    ico.insert(ico.end(), big.begin(), big.end());
    const auto img = DecodeImage(ico, IMAGE_TYPE_ICO);
    ASSERT_TRUE(img);
    EXPECT_EQ(img->bitmap.pixels, (PixelVector{kBlue, kWhite, kRed, 0u}));
    EXPECT_TRUE(img->hasAlpha);
    EXPECT_EQ(img->bitsPerPixel, 24);

    // A PNG entry is decoded as PNG.
    const Bytes png = Encode(Small(3, 3), true, IMAGE_TYPE_PNG);
    Bytes pngIco;
    Put16(pngIco, 0);
    Put16(pngIco, 1);
    Put16(pngIco, 1);
    pngIco.insert(pngIco.end(), {3, 3, 0, 0});
    Put16(pngIco, 1);
    Put16(pngIco, 32);
    Put32(pngIco, uint32_t(png.size()));
    Put32(pngIco, 22);
    pngIco.insert(pngIco.end(), png.begin(), png.end());
    const auto fromPng = DecodeImage(pngIco, IMAGE_TYPE_ICO);
    ASSERT_TRUE(fromPng);
    EXPECT_EQ(fromPng->bitmap.pixels, Small(3, 3).pixels);
}
