#include "codec/decode.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>

using namespace vistrel;

namespace {

void Put16(std::vector<uint8_t>& v, size_t at, uint16_t x) { v[at] = uint8_t(x), v[at + 1] = uint8_t(x >> 8); }
void Put32(std::vector<uint8_t>& v, size_t at, uint32_t x)
{
    Put16(v, at, uint16_t(x));
    Put16(v, at + 2, uint16_t(x >> 16));
}

} // namespace

// Small files that claim large pictures must be refused before the picture is
// allocated, and an icon directory repeating one entry must not decode it again
// and again.
TEST(CodecBombs, SmallFilesClaimingLargePicturesAreRefusedQuickly)
{
    const size_t count = 4000;
    const size_t header = 6 + 16 * count;
    std::vector<uint8_t> ico(header + 40, 0);
    Put16(ico, 2, 1);
    Put16(ico, 4, uint16_t(count));
    for (size_t i = 0; i < count; ++i) {
        Put32(ico, 6 + 16 * i + 8, 40);
        Put32(ico, 6 + 16 * i + 12, uint32_t(header));
    }
    Put32(ico, header, 40);        // BITMAPINFOHEADER
    Put32(ico, header + 4, 4096);  // width
    Put32(ico, header + 8, 8192);  // height: colour and mask
    Put16(ico, header + 12, 1);
    Put16(ico, header + 14, 32);

    auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(DecodeImage(ico, IMAGE_TYPE_ICO));

    // The same header as a BMP, with no pixels behind it.
    std::vector<uint8_t> bmp(14 + 40, 0);
    bmp[0] = 'B', bmp[1] = 'M';
    Put32(bmp, 2, uint32_t(bmp.size()));
    Put32(bmp, 10, 54);
    std::memcpy(bmp.data() + 14, ico.data() + header, 40);
    Put32(bmp, 22, 4096);
    EXPECT_FALSE(DecodeImage(bmp, IMAGE_TYPE_BMP));
    // Generous: zero-filling the claimed pictures would take minutes.
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
}
