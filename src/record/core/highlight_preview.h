#pragma once
// The highlight as the cursor options show it: the shape at half scale in a
// 64 x 64 light grey square, so that the largest highlight just fills it.

#include "codec/bitmap.h"
#include "record/core/cursor_highlight.h"

#include <cstdint>

namespace vistrel {

constexpr int kHighlightPreviewBox = 64;
constexpr uint32_t kHighlightPreviewBackground = MakeArgb(192, 192, 192);

// The shape's box in the preview for a highlight of size (1 to 128): half the
// size, whole pixels (size / 2), placed as the recorder places it in its box.
HighlightBounds HighlightPreviewBounds(int size, int shape);

// The preview picture; only the grey square when the highlight is off.
// colorRef: red in the low byte.
Bitmap HighlightPreview(bool on, int size, int shape, uint32_t colorRef);

} // namespace vistrel
