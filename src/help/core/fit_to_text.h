#pragma once
// A link's rectangle shrunk (or grown) to its text, keeping the side its text
// is aligned to: the left edge for left-aligned text, the right edge for
// right-aligned, the middle for centred; vertically the top, or the middle when
// the text is centred vertically. Halves round toward zero. Plain data.

namespace vistrel {

struct TextRect {
    int left = 0, top = 0, right = 0, bottom = 0; // right and bottom exclusive
    bool operator==(const TextRect&) const = default;
};

enum class TextAlign { Left, Centre, Right };

TextRect FitRectToText(TextRect rect, int textWidth, int textHeight, TextAlign align, bool centredVertically);

} // namespace vistrel
