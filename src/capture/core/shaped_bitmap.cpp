#include "capture/core/shaped_bitmap.h"

#include "capture/core/cursor_overlay.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace vistrel {

namespace {

constexpr uint32_t kOpaque = 0xFF000000;

// Copies the screen under each run of the mask; pixels without a screen pixel
// keep what the output already holds (the background).
void CopyMaskedScreen(const Bitmap& screen, const CaptureArea& area, Bitmap& output)
{
    if (!screen.holdsAllPixels())
        return;
    const Rect& rect = area.rect();
    for (int y = 0; y < output.height; ++y) {
        const int64_t screenY = int64_t(rect.top) + y;
        if (screenY < 0 || screenY >= screen.height)
            continue;
        const uint32_t* screenRow = screen.row(int(screenY));
        for (const Span& run : area.mask().row(y)) {
            const int64_t first = std::max<int64_t>(run.begin, -int64_t(rect.left));
            const int64_t end = std::min<int64_t>({int64_t(run.end), int64_t(screen.width) - rect.left,
                                                   int64_t(output.width)});
            if (first < end)
                std::memcpy(output.row(y) + first, screenRow + (rect.left + first),
                            size_t(end - first) * sizeof(uint32_t));
        }
    }
}

// Sets every pixel outside the mask to the background.
void FillOutsideMask(Bitmap& output, const ShapeMask& mask, uint32_t background)
{
    for (int y = 0; y < output.height; ++y) {
        uint32_t* row = output.row(y);
        int x = 0;
        for (const Span& run : mask.row(y)) {
            std::fill(row + x, row + std::min(run.begin, output.width), background);
            x = std::min(run.end, output.width);
        }
        std::fill(row + x, row + output.width, background);
    }
}

} // namespace

Bitmap BuildShapedBitmap(const Bitmap& frozenScreen, const CaptureArea& area,
                         uint32_t backgroundArgb, const CursorImage* cursor)
{
    const uint32_t background = backgroundArgb | kOpaque;
    Bitmap output(area.rect().width(), area.rect().height(), background);
    CopyMaskedScreen(frozenScreen, area, output);
    if (cursor) {
        DrawCursor(output, *cursor, area.rect().left, area.rect().top);
        // The cursor may have been drawn over pixels the shape leaves out.
        FillOutsideMask(output, area.mask(), background);
    }
    return output;
}

Bitmap BuildShapedBitmap(Bitmap&& frozenScreen, const CaptureArea& area,
                         uint32_t backgroundArgb, const CursorImage* cursor)
{
    const Rect wholeScreen{0, 0, frozenScreen.width, frozenScreen.height};
    if (!frozenScreen.holdsAllPixels() || area.rect() != wholeScreen)
        return BuildShapedBitmap(std::as_const(frozenScreen), area, backgroundArgb, cursor);

    Bitmap output = std::move(frozenScreen);
    output.pixels.resize(size_t(output.width) * size_t(output.height));
    if (cursor)
        DrawCursor(output, *cursor, 0, 0);
    FillOutsideMask(output, area.mask(), backgroundArgb | kOpaque);
    return output;
}

} // namespace vistrel
