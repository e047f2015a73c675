#include "capture/core/shape_mask.h"

#include "capture/core/integer_sqrt.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace vistrel {

ShapeMask::ShapeMask(int width) : m_width(std::max(width, 0)) {}

ShapeMask ShapeMask::Rectangle(int width, int height)
{
    if (!FitsCaptureLimits(width, height))
        return {};
    ShapeMask mask(width);
    const Span whole{0, width};
    for (int y = 0; y < height; ++y)
        mask.appendRow({&whole, 1});
    return mask;
}

ShapeMask ShapeMask::Ellipse(int width, int height)
{
    if (!FitsCaptureLimits(width, height))
        return {};
    ShapeMask mask(width);
    // In doubled coordinates the pixel centre is (X, Y) = (2x + 1 - w, 2y + 1 - h)
    // from the centre and the test reads X^2 h^2 + Y^2 w^2 <= w^2 h^2. Per row the
    // largest |X| is m = floor(sqrt(w^2 (h^2 - Y^2))) / h, since X h is an integer.
    const int64_t w = width, h = height;
    for (int y = 0; y < height; ++y) {
        const int64_t Y = 2 * int64_t(y) + 1 - h;
        const uint64_t rhs = uint64_t(w * w) * uint64_t(h * h - Y * Y);
        const int64_t m = int64_t(IntegerSqrt(rhs) / uint64_t(h));
        // |2x + 1 - w| <= m  <=>  (w - 1 - m) / 2 <= x <= (w - 1 + m) / 2
        const int64_t low = w - 1 - m;
        const int64_t begin = low <= 0 ? 0 : (low + 1) / 2;
        const int64_t end = std::min<int64_t>((w - 1 + m) / 2 + 1, w);
        if (begin < end) {
            const Span run{int(begin), int(end)};
            mask.appendRow({&run, 1});
        } else {
            mask.appendRow({});
        }
    }
    return mask;
}

void ShapeMask::appendRow(std::span<const Span> runs)
{
    const size_t rowBegin = m_runs.size();
    for (const Span& run : runs) {
        const int begin = std::max(run.begin, 0);
        const int end = std::min(run.end, m_width);
        if (begin < end)
            m_runs.push_back({begin, end});
    }
    auto first = m_runs.begin() + std::ptrdiff_t(rowBegin);
    std::sort(first, m_runs.end(), [](const Span& a, const Span& b) { return a.begin < b.begin; });
    // Merge overlapping and touching runs so that each row is disjoint and sorted.
    auto merged = first;
    for (auto it = first; it != m_runs.end(); ++it) {
        if (merged != first && it->begin <= (merged - 1)->end)
            (merged - 1)->end = std::max((merged - 1)->end, it->end);
        else
            *merged++ = *it;
    }
    m_runs.erase(merged, m_runs.end());
    m_rowStart.push_back(m_runs.size());
}

std::span<const Span> ShapeMask::row(int y) const
{
    if (y < 0 || y >= height())
        return {};
    return {m_runs.data() + m_rowStart[size_t(y)], m_runs.data() + m_rowStart[size_t(y) + 1]};
}

bool ShapeMask::contains(int x, int y) const
{
    const std::span<const Span> runs = row(y);
    const auto after = std::upper_bound(runs.begin(), runs.end(), x,
                                        [](int value, const Span& run) { return value < run.begin; });
    return after != runs.begin() && x < (after - 1)->end;
}

Rect ShapeMask::bounds() const
{
    Rect box{std::numeric_limits<int>::max(), 0, std::numeric_limits<int>::min(), 0};
    bool found = false;
    for (int y = 0; y < height(); ++y) {
        const std::span<const Span> runs = row(y);
        if (runs.empty())
            continue;
        if (!found)
            box.top = y;
        found = true;
        box.bottom = y + 1;
        box.left = std::min(box.left, runs.front().begin);
        box.right = std::max(box.right, runs.back().end);
    }
    return found ? box : Rect{};
}

ShapeMask ShapeMask::cropped(const Rect& r) const
{
    if (!FitsCaptureLimits(r.width(), r.height()))
        return {};
    ShapeMask result(r.width());
    std::vector<Span> shifted;
    for (int64_t y = r.top; y < r.bottom; ++y) {
        shifted.clear();
        if (y >= 0 && y < height()) {
            for (const Span& run : row(int(y)))
                shifted.push_back({int(std::max<int64_t>(int64_t(run.begin) - r.left, INT32_MIN)),
                                   int(std::min<int64_t>(int64_t(run.end) - r.left, INT32_MAX))});
        }
        result.appendRow(shifted);
    }
    return result;
}

} // namespace vistrel
