#include "codec/png_filter.h"

#include <algorithm>
#include <bit>
#include <cstdlib>

#if VISTREL_PNG_SSE2
#include <emmintrin.h>
#endif

namespace vistrel::png_filter {

namespace {

using Totals = std::array<uint64_t, 5>;

// Filters bytes [from, n) one at a time, adding each residual's magnitude
// (the byte read as signed) to its filter's total.
void FilterBytes(const uint8_t* cur, const uint8_t* prev, size_t bpp, size_t from, size_t n,
                 uint8_t* const out[5], Totals& total)
{
    const uint8_t* left = cur - bpp;
    const uint8_t* upLeft = prev - bpp;
    for (size_t i = from; i < n; ++i) {
        const int a = left[i], b = prev[i], c = upLeft[i];
        const int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
        const int paeth = pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
        const uint8_t r[5] = {cur[i], uint8_t(cur[i] - a), uint8_t(cur[i] - b), uint8_t(cur[i] - ((a + b) >> 1)),
                              uint8_t(cur[i] - paeth)};
        for (size_t k = 0; k < 5; ++k) {
            out[k][i] = r[k];
            total[k] += r[k] < 128 ? r[k] : 256 - r[k];
        }
    }
}

bool SameAsAbove(const uint8_t* cur, const uint8_t* prev, size_t n, FilteredRows& f)
{
    if (!std::equal(cur, cur + n, prev))
        return false;
    std::fill(f[2].begin() + 1, f[2].end(), 0);
    return true;
}

int Smallest(const Totals& total) { return int(std::min_element(total.begin(), total.end()) - total.begin()); }

bool IsSmall(uint8_t v) { return v != 0 && (v <= kSmallResidual || v >= 256 - kSmallResidual); }

} // namespace

int ChooseFilterPortable(const uint8_t* cur, const uint8_t* prev, size_t n, size_t bpp, FilteredRows& f)
{
    if (SameAsAbove(cur, prev, n, f))
        return 2;
    uint8_t* const out[5] = {f[0].data() + 1, f[1].data() + 1, f[2].data() + 1, f[3].data() + 1, f[4].data() + 1};
    Totals total{};
    FilterBytes(cur, prev, bpp, 0, n, out, total);
    return Smallest(total);
}

size_t CountSmallResidualsPortable(const uint8_t* p, size_t n)
{
    return size_t(std::count_if(p, p + n, IsSmall));
}

#if VISTREL_PNG_SSE2

namespace {

__m128i AbsSum(__m128i v, __m128i zero)
{
    // Each byte as a signed residual: its magnitude is min(v, 256 - v).
    return _mm_sad_epu8(_mm_min_epu8(v, _mm_sub_epi8(zero, v)), zero);
}

__m128i PaethPredict(__m128i a, __m128i b, __m128i c)
{
    const __m128i bc = _mm_sub_epi16(b, c), ac = _mm_sub_epi16(a, c);
    const __m128i pa = _mm_max_epi16(bc, _mm_sub_epi16(_mm_setzero_si128(), bc));
    const __m128i pb = _mm_max_epi16(ac, _mm_sub_epi16(_mm_setzero_si128(), ac));
    const __m128i sum = _mm_add_epi16(bc, ac);
    const __m128i pc = _mm_max_epi16(sum, _mm_sub_epi16(_mm_setzero_si128(), sum));
    const __m128i notA = _mm_or_si128(_mm_cmpgt_epi16(pa, pb), _mm_cmpgt_epi16(pa, pc));
    const __m128i useC = _mm_cmpgt_epi16(pb, pc);
    const __m128i bOrC = _mm_or_si128(_mm_and_si128(useC, c), _mm_andnot_si128(useC, b));
    return _mm_or_si128(_mm_and_si128(notA, bOrC), _mm_andnot_si128(notA, a));
}

} // namespace

int ChooseFilterSse2(const uint8_t* cur, const uint8_t* prev, size_t n, size_t bpp, FilteredRows& f)
{
    if (SameAsAbove(cur, prev, n, f))
        return 2;
    const __m128i zero = _mm_setzero_si128();
    __m128i cost[5] = {zero, zero, zero, zero, zero};
    uint8_t* const out[5] = {f[0].data() + 1, f[1].data() + 1, f[2].data() + 1, f[3].data() + 1, f[4].data() + 1};
    size_t i = 0;
    for (; i + 16 <= n; i += 16) {
        const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(cur + i));
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(cur + i - bpp));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(prev + i));
        const __m128i c = _mm_loadu_si128(reinterpret_cast<const __m128i*>(prev + i - bpp));
        const __m128i avg = _mm_sub_epi8(_mm_avg_epu8(a, b), _mm_and_si128(_mm_xor_si128(a, b), _mm_set1_epi8(1)));
        const __m128i paeth = _mm_packus_epi16(
            PaethPredict(_mm_unpacklo_epi8(a, zero), _mm_unpacklo_epi8(b, zero), _mm_unpacklo_epi8(c, zero)),
            PaethPredict(_mm_unpackhi_epi8(a, zero), _mm_unpackhi_epi8(b, zero), _mm_unpackhi_epi8(c, zero)));
        const __m128i r[5] = {x, _mm_sub_epi8(x, a), _mm_sub_epi8(x, b), _mm_sub_epi8(x, avg),
                              _mm_sub_epi8(x, paeth)};
        for (size_t k = 0; k < 5; ++k) {
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out[k] + i), r[k]);
            cost[k] = _mm_add_epi64(cost[k], AbsSum(r[k], zero));
        }
    }
    Totals total{};
    for (size_t k = 0; k < 5; ++k) {
        alignas(16) uint64_t lanes[2];
        _mm_store_si128(reinterpret_cast<__m128i*>(lanes), cost[k]);
        total[k] = lanes[0] + lanes[1];
    }
    FilterBytes(cur, prev, bpp, i, n, out, total);
    return Smallest(total);
}

size_t CountSmallResidualsSse2(const uint8_t* p, size_t n)
{
    size_t count = 0, i = 0;
    const __m128i zero = _mm_setzero_si128(), limit = _mm_set1_epi8(kSmallResidual);
    for (; i + 16 <= n; i += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
        const __m128i magnitude = _mm_min_epu8(v, _mm_sub_epi8(zero, v));
        const __m128i small = _mm_andnot_si128(_mm_cmpeq_epi8(v, zero),
                                               _mm_cmpeq_epi8(_mm_min_epu8(magnitude, limit), magnitude));
        count += size_t(std::popcount(unsigned(_mm_movemask_epi8(small))));
    }
    return count + CountSmallResidualsPortable(p + i, n - i);
}

#endif

} // namespace vistrel::png_filter
