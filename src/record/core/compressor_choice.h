#pragma once
// Which compressor and frame size a recording uses. The chosen compressor is
// asked whether it takes frames of the area's size; when it does not, sizes
// rounded to multiples of 2, 4 and 8 are tried (rounded up, or down where
// rounding up would pass the screen's edge). A compressor that is missing,
// refuses every size, or is one of the codes never used ("DIVX", "IV50") gives
// way to the default compressor, silently; the default gets the same size test.

#include "record/core/record_options.h"

#include <optional>

namespace vistrel {

// What the recorder asks of the installed compressors (FFmpeg's encoders in the
// program, fakes in the tests).
class CompressorQuery {
public:
    virtual ~CompressorQuery() = default;
    // Whether the compressor is installed and can be opened at all.
    virtual bool Has(FourCC code) const = 0;
    // Whether it takes frames of this size (in the recorder's pixel format).
    virtual bool Accepts(FourCC code, int width, int height) const = 0;
};

struct CompressorChoice {
    FourCC code = 0;
    int width = 0;
    int height = 0;
    bool fellBack = false; // the default compressor replaced the chosen one
};

// The frame size a compressor takes for an area of width x height at left, top
// on a screen of screenWidth x screenHeight: the size itself, or the first of
// the factors 2, 4, 8 that it takes; nullopt when it takes none.
std::optional<CompressorChoice> FitSizeToCompressor(const CompressorQuery& query, FourCC code, int left, int top,
                                                    int width, int height, int screenWidth, int screenHeight);

// The compressor and size for a recording; nullopt when not even the default
// compressor takes the area at any of the sizes.
std::optional<CompressorChoice> ChooseCompressor(const CompressorQuery& query, FourCC chosen, FourCC fallback,
                                                 int left, int top, int width, int height, int screenWidth,
                                                 int screenHeight);

// One side rounded to a multiple of factor: up, or down when up would pass the
// screen's edge (origin + side > screenSide); 0 when down leaves nothing.
int RoundSideToFactor(int origin, int side, int screenSide, int factor);

} // namespace vistrel
