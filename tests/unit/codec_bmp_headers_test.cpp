// BMP headers and depths beyond the common ones: OS/2 2.x headers cut short,
// 2-bit pixels, colour tables that end where the pixels begin, and samples
// of fewer than 8 bits widened so that full scale stays full scale.
#include "codec/decode.h"

#include <gtest/gtest.h>

#include <vector>

using namespace vistrel;

namespace {

using Bytes = std::vector<uint8_t>;

void Put16(Bytes& v, uint16_t x) { v.insert(v.end(), {uint8_t(x), uint8_t(x >> 8)}); }
void Put32(Bytes& v, uint32_t x) { v.insert(v.end(), {uint8_t(x), uint8_t(x >> 8), uint8_t(x >> 16), uint8_t(x >> 24)}); }

// A BMP whose info header is headerSize bytes (fields past it left out),
// followed by extra (colours or masks) and pixels.
Bytes MakeBmp(uint32_t headerSize, int32_t w, int32_t h, uint16_t bpp, uint32_t compression, const Bytes& extra,
              const Bytes& pixels)
{
    Bytes header;
    Put32(header, headerSize);
    Put32(header, uint32_t(w));
    Put32(header, uint32_t(h));
    Put16(header, 1);
    Put16(header, bpp);
    Put32(header, compression);
    header.resize(headerSize, 0);
    Bytes v = {'B', 'M'};
    Put32(v, uint32_t(14 + header.size() + extra.size() + pixels.size()));
    Put32(v, 0);
    Put32(v, uint32_t(14 + header.size() + extra.size()));
    v.insert(v.end(), header.begin(), header.end());
    v.insert(v.end(), extra.begin(), extra.end());
    v.insert(v.end(), pixels.begin(), pixels.end());
    return v;
}

const uint32_t kRed = MakeArgb(255, 0, 0), kGreen = MakeArgb(0, 255, 0), kBlue = MakeArgb(0, 0, 255),
               kBlack = MakeArgb(0, 0, 0);
const Bytes kPalette = {0, 0, 255, 0, 0, 255, 0, 0, 255, 0, 0, 0, 255, 255, 255, 0}; // red, green, blue, white

} // namespace

TEST(CodecBmpHeaders, Os2HeaderCutShortAfterSixteenBytes)
{
    // 16 bytes: no compression field, so none; 4-bit pixels with a full table
    // of 16 four-byte colours (only 4 given, the rest black).
    Bytes palette = kPalette;
    palette.resize(64, 0);
    const auto img = DecodeImage(MakeBmp(16, 3, 1, 4, 99, palette, {0x01, 0x20, 0, 0}), IMAGE_TYPE_BMP);
    ASSERT_TRUE(img);
    EXPECT_EQ(img->bitmap.pixels, (PixelVector{kRed, kGreen, kBlue}));
    EXPECT_EQ(img->bitsPerPixel, 4);
}

TEST(CodecBmpHeaders, Os2CompressionsOfTheirOwnAreRefused)
{
    // 3 is Huffman 1D and 4 RLE24 in an OS/2 2.x header, not bit fields.
    for (uint32_t size : {24u, 64u})
        for (uint32_t compression : {3u, 4u})
            EXPECT_FALSE(DecodeImage(MakeBmp(size, 1, 1, 24, compression, {}, {1, 2, 3, 0}), IMAGE_TYPE_BMP))
                << size << " " << compression;
}

TEST(CodecBmpHeaders, TwoBitPixels)
{
    // 5 pixels: indices 0 1 2 3 | 1, rows padded to 4 bytes.
    const auto img = DecodeImage(MakeBmp(40, 5, 1, 2, 0, kPalette, {0x1B, 0x40, 0, 0}), IMAGE_TYPE_BMP);
    ASSERT_TRUE(img);
    EXPECT_EQ(img->bitmap.pixels, (PixelVector{kRed, kGreen, kBlue, MakeArgb(255, 255, 255), kGreen}));
    EXPECT_EQ(img->bitsPerPixel, 2);
}

TEST(CodecBmpHeaders, ColourTableEndsWherePixelsBegin)
{
    // An 8-bit core-header file with only two 3-byte colours: index 1 is green,
    // index 2 (not stored) black, and the pixel bytes are not taken for colours.
    const Bytes two = {0, 0, 255, 0, 255, 0};
    Bytes core = {'B', 'M'};
    Put32(core, 14 + 12 + 6 + 4);
    Put32(core, 0);
    Put32(core, 14 + 12 + 6);
    Put32(core, 12);
    Put16(core, 3);
    Put16(core, 1);
    Put16(core, 1);
    Put16(core, 8);
    core.insert(core.end(), two.begin(), two.end());
    core.insert(core.end(), {1, 2, 0, 0});
    const auto coreImg = DecodeImage(core, IMAGE_TYPE_BMP);
    ASSERT_TRUE(coreImg);
    EXPECT_EQ(coreImg->bitmap.pixels, (PixelVector{kGreen, kBlack, kRed}));
    // No room for any colour at all: damaged.
    Bytes none = MakeBmp(40, 1, 1, 8, 0, {}, {0, 0, 0, 0});
    EXPECT_FALSE(DecodeImage(none, IMAGE_TYPE_BMP));
}

TEST(CodecBmpHeaders, NarrowSamplesKeepFullScale)
{
    // 4-4-4-4 ARGB through a V4 header's masks: 0xF is 255, 0x8 is 0x88.
    Bytes masks;
    for (uint32_t m : {0x0F00u, 0x00F0u, 0x000Fu, 0xF000u})
        Put32(masks, m);
    Bytes v4 = MakeBmp(108, 2, 1, 16, 3, {}, {0xFF, 0xFF, 0x08, 0x80});
    std::copy(masks.begin(), masks.end(), v4.begin() + 14 + 40);
    auto img = DecodeImage(v4, IMAGE_TYPE_BMP);
    ASSERT_TRUE(img);
    EXPECT_EQ(img->bitmap.pixels, (PixelVector{0xFFFFFFFFu, MakeArgb(0, 0, 0x88, 0x88)}));

    // 5-5-5 by default: 31 is 255 and 16 is 132 (10000 -> 10000100).
    img = DecodeImage(MakeBmp(40, 2, 1, 16, 0, {}, {0xFF, 0x7F, 0x10, 0x00}), IMAGE_TYPE_BMP);
    ASSERT_TRUE(img);
    EXPECT_EQ(img->bitmap.pixels, (PixelVector{MakeArgb(255, 255, 255), MakeArgb(0, 0, 132)}));
}
