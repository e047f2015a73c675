// The PNG writer's row filters: each filtered row decodes back to the row under
// PNG's own reconstruction rules, the choice is the smallest sum of residuals,
// and on SSE2 machines the vector code gives the portable code's bytes exactly.
#include "codec/png_filter.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <string>
#include <vector>

using namespace vistrel;
using namespace vistrel::png_filter;

namespace {

// A row buffer with the kLead zero bytes in front that the filters rely on.
struct Row {
    explicit Row(size_t n) : bytes(kLead + n, 0) {}
    uint8_t* data() { return bytes.data() + kLead; }
    std::vector<uint8_t> bytes;
};

FilteredRows MakeFiltered(size_t n, uint8_t garbage)
{
    FilteredRows f;
    for (size_t k = 0; k < 5; ++k) {
        f[k].assign(n + 1, garbage);
        f[k][0] = uint8_t(k);
    }
    return f;
}

// A pair of rows of one kind: unrelated noise, a row close to the one above
// (small residuals), a repeated row, a gradient, or a first row (above is zero).
void FillRows(std::mt19937& rng, int kind, size_t n, uint8_t* cur, uint8_t* prev)
{
    for (size_t i = 0; i < n; ++i) {
        prev[i] = kind == 4 ? 0 : uint8_t(rng());
        switch (kind) {
        case 0: cur[i] = uint8_t(rng()); break;
        case 1: cur[i] = uint8_t(prev[i] + int(rng() % 7) - 3); break;
        case 2: cur[i] = prev[i]; break;
        case 3: cur[i] = uint8_t(i * 3 + rng() % 2); break;
        default: cur[i] = uint8_t(rng() % 4 == 0 ? rng() : 200); break;
        }
    }
}

// PNG's reconstruction of filter type k, applied to the filtered bytes.
std::vector<uint8_t> Unfilter(int k, const uint8_t* filtered, const uint8_t* prev, size_t n, size_t bpp)
{
    std::vector<uint8_t> out(n);
    for (size_t i = 0; i < n; ++i) {
        const int a = i >= bpp ? out[i - bpp] : 0, b = prev[i], c = i >= bpp ? prev[i - bpp] : 0;
        int predictor = 0;
        switch (k) {
        case 1: predictor = a; break;
        case 2: predictor = b; break;
        case 3: predictor = (a + b) / 2; break;
        case 4: {
            const int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
            predictor = pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
            break;
        }
        default: break;
        }
        out[i] = uint8_t(filtered[i] + predictor);
    }
    return out;
}

uint64_t Cost(const std::vector<uint8_t>& f)
{
    uint64_t sum = 0;
    for (size_t i = 1; i < f.size(); ++i)
        sum += f[i] < 128 ? f[i] : 256 - f[i];
    return sum;
}

// Lengths around the 16-byte vector width and real screen rows.
const size_t kLengths[] = {1, 3, 4, 15, 16, 17, 31, 32, 33, 48, 100, 3 * 333, 4 * 1920};

} // namespace

TEST(PngFilter, PortableFiltersReconstructAndPickTheCheapest)
{
    std::mt19937 rng(7);
    for (const size_t bpp : {size_t(3), size_t(4)})
        for (const size_t n : kLengths)
            for (int kind = 0; kind < 5; ++kind) {
                const std::string what = "bpp " + std::to_string(bpp) + " n " + std::to_string(n) + " kind " +
                                         std::to_string(kind);
                Row cur(n), prev(n);
                FillRows(rng, kind, n, cur.data(), prev.data());
                const std::vector<uint8_t> expected(cur.data(), cur.data() + n);
                FilteredRows f = MakeFiltered(n, 0xA5);
                const int chosen = ChooseFilterPortable(cur.data(), prev.data(), n, bpp, f);
                ASSERT_GE(chosen, 0) << what;
                ASSERT_LE(chosen, 4) << what;
                EXPECT_EQ(Unfilter(chosen, f[size_t(chosen)].data() + 1, prev.data(), n, bpp), expected) << what;
                if (kind == 2) { // a repeated row is all zeros under Up
                    EXPECT_EQ(chosen, 2) << what;
                    EXPECT_EQ(Cost(f[2]), 0u) << what;
                    continue;
                }
                for (int k = 0; k < 5; ++k) {
                    EXPECT_EQ(Unfilter(k, f[size_t(k)].data() + 1, prev.data(), n, bpp), expected) << what << " k " << k;
                    if (k < chosen)
                        EXPECT_GT(Cost(f[size_t(k)]), Cost(f[size_t(chosen)])) << what << " k " << k;
                    else
                        EXPECT_GE(Cost(f[size_t(k)]), Cost(f[size_t(chosen)])) << what << " k " << k;
                }
            }
}

TEST(PngFilter, SmallResidualsAreNonZeroBytesWithinEightOfZero)
{
    std::vector<uint8_t> v;
    for (int b = 0; b < 256; ++b)
        v.push_back(uint8_t(b));
    // 1..8 and 248..255
    EXPECT_EQ(CountSmallResidualsPortable(v.data(), v.size()), 16u);
    EXPECT_EQ(CountSmallResidualsPortable(v.data(), 9), 8u);
    EXPECT_EQ(CountSmallResidualsPortable(v.data() + 9, 239), 0u);
    EXPECT_EQ(CountSmallResiduals(v.data(), v.size()), 16u);
}

#if VISTREL_PNG_SSE2
TEST(PngFilter, Sse2MatchesPortableByteForByte)
{
    std::mt19937 rng(11);
    for (int round = 0; round < 20; ++round)
        for (const size_t bpp : {size_t(3), size_t(4)})
            for (const size_t n : kLengths)
                for (int kind = 0; kind < 5; ++kind) {
                    Row cur(n), prev(n);
                    FillRows(rng, kind, n, cur.data(), prev.data());
                    FilteredRows portable = MakeFiltered(n, 0x5A), sse2 = MakeFiltered(n, 0x5A);
                    const int a = ChooseFilterPortable(cur.data(), prev.data(), n, bpp, portable);
                    const int b = ChooseFilterSse2(cur.data(), prev.data(), n, bpp, sse2);
                    ASSERT_EQ(a, b) << "bpp " << bpp << " n " << n << " kind " << kind;
                    ASSERT_EQ(portable, sse2) << "bpp " << bpp << " n " << n << " kind " << kind;
                    for (size_t k = 0; k < 5; ++k)
                        ASSERT_EQ(CountSmallResidualsPortable(sse2[k].data() + 1, n),
                                  CountSmallResidualsSse2(sse2[k].data() + 1, n));
                }
    std::vector<uint8_t> bytes(4096);
    for (uint8_t& b : bytes)
        b = uint8_t(int(rng() % 21) - 10); // around the limit, both signs
    for (size_t start = 0; start < 17; ++start)
        EXPECT_EQ(CountSmallResidualsPortable(bytes.data() + start, bytes.size() - start),
                  CountSmallResidualsSse2(bytes.data() + start, bytes.size() - start));
}
#endif
