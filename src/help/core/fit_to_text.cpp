#include "help/core/fit_to_text.h"

namespace vistrel {

TextRect FitRectToText(TextRect rect, int textWidth, int textHeight, TextAlign align, bool centredVertically)
{
    if (centredVertically) {
        const int half = (rect.bottom - rect.top - textHeight) / 2;
        rect.top += half;
        rect.bottom -= half;
    } else {
        rect.bottom = rect.top + textHeight;
    }
    switch (align) {
    case TextAlign::Centre: {
        const int half = (rect.right - rect.left - textWidth) / 2;
        rect.left += half;
        rect.right -= half;
        break;
    }
    case TextAlign::Right: rect.left = rect.right - textWidth; break;
    case TextAlign::Left: rect.right = rect.left + textWidth; break;
    }
    return rect;
}

} // namespace vistrel
