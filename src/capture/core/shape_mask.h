#pragma once
// Which pixels of a capture rectangle belong to the shape, stored as sorted,
// disjoint runs per row (x in [begin, end)), relative to the rectangle's top-left.
// A circle of side 8000 is 8000 runs, not 64 million flags.
//
// Rasterization rule for every shape: a pixel (x, y) belongs to the shape when its
// centre (x + 0.5, y + 0.5) lies inside. For the ellipse inscribed in a w x h
// rectangle (centre (w/2, h/2), semi-axes w/2 and h/2) a centre exactly on the
// curve counts as inside; the test is exact integer arithmetic, so the mask is
// symmetric left-right and top-bottom.

#include "capture/core/capture_geometry.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace vistrel {

struct Span {
    int begin = 0;
    int end = 0;
    friend bool operator==(const Span&, const Span&) = default;
};

class ShapeMask {
public:
    // 0 x 0, covers nothing.
    ShapeMask() = default;
    // width x 0; rows are added with appendRow.
    explicit ShapeMask(int width);

    // Sizes outside FitsCaptureLimits give an empty 0 x 0 mask.
    static ShapeMask Rectangle(int width, int height);
    static ShapeMask Ellipse(int width, int height);

    // Adds the next row below the last one. The runs may come in any order and
    // overlap; they are clipped to [0, width), sorted and merged.
    void appendRow(std::span<const Span> runs);

    int width() const { return m_width; }
    int height() const { return m_rowStart.empty() ? 0 : int(m_rowStart.size()) - 1; }
    // True when no pixel is covered (whatever the size).
    bool coversNothing() const { return m_runs.empty(); }
    bool contains(int x, int y) const;
    // The runs of row y; none for a row outside the mask.
    std::span<const Span> row(int y) const;
    // Smallest rectangle holding every covered pixel; empty when none is.
    Rect bounds() const;
    // The part under r (in this mask's coordinates) as a mask of r's size;
    // rows and columns of r outside this mask are uncovered.
    ShapeMask cropped(const Rect& r) const;

private:
    int m_width = 0;
    std::vector<Span> m_runs;
    std::vector<size_t> m_rowStart{0};  // row y is m_runs[m_rowStart[y] .. m_rowStart[y + 1])
};

} // namespace vistrel
