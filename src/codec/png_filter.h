#pragma once
// Per-row filter choice of the PNG writer. SSE2 versions on x86 and a portable
// version everywhere, chosen at compile time; both give the same bytes and the
// same choice, so the portable one is always built and the tests compare them.

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#if defined(__SSE2__) && !defined(VISTREL_PORTABLE_PNG)
#define VISTREL_PNG_SSE2 1
#else
#define VISTREL_PNG_SSE2 0
#endif

namespace vistrel::png_filter {

// cur and prev point kLead bytes into buffers whose first kLead bytes are
// zero, so the pixel left of the first one reads as zero without a special
// case; prev is all zero for the first row.
constexpr size_t kLead = 16;
// Residuals of at most this magnitude, but not zero, count as noise.
constexpr int kSmallResidual = 8;

using FilteredRows = std::array<std::vector<uint8_t>, 5>;

// Fills f[k] (each the type byte k, then n filtered bytes; every f[k] holds
// n + 1 bytes) for the five filter types of a row of n bytes with bpp bytes per
// pixel, and returns the type with the smallest sum of residual magnitudes,
// the lowest type on a tie. A row equal to the one above gives Up (2) and
// fills only f[2].
int ChooseFilterPortable(const uint8_t* cur, const uint8_t* prev, size_t n, size_t bpp, FilteredRows& f);
// How many of the n filtered bytes are small but not zero: the mark of noise
// (photos, dithering), where residuals scatter around zero. User interfaces
// leave zeros where colour is flat and large values at sharp edges.
size_t CountSmallResidualsPortable(const uint8_t* p, size_t n);

#if VISTREL_PNG_SSE2
int ChooseFilterSse2(const uint8_t* cur, const uint8_t* prev, size_t n, size_t bpp, FilteredRows& f);
size_t CountSmallResidualsSse2(const uint8_t* p, size_t n);
#endif

inline int ChooseFilter(const uint8_t* cur, const uint8_t* prev, size_t n, size_t bpp, FilteredRows& f)
{
#if VISTREL_PNG_SSE2
    return ChooseFilterSse2(cur, prev, n, bpp, f);
#else
    return ChooseFilterPortable(cur, prev, n, bpp, f);
#endif
}

inline size_t CountSmallResiduals(const uint8_t* p, size_t n)
{
#if VISTREL_PNG_SSE2
    return CountSmallResidualsSse2(p, n);
#else
    return CountSmallResidualsPortable(p, n);
#endif
}

} // namespace vistrel::png_filter
