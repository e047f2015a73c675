#include "record/core/compressor_choice.h"

namespace vistrel {

int RoundSideToFactor(int origin, int side, int screenSide, int factor)
{
    if (factor <= 1 || side % factor == 0)
        return side;
    const int64_t up = (int64_t(side) / factor + 1) * factor;
    if (int64_t(origin) + up <= screenSide)
        return int(up);
    return side / factor * factor;
}

std::optional<CompressorChoice> FitSizeToCompressor(const CompressorQuery& query, FourCC code, int left, int top,
                                                    int width, int height, int screenWidth, int screenHeight)
{
    if (!query.Has(code))
        return std::nullopt;
    if (query.Accepts(code, width, height))
        return CompressorChoice{code, width, height, false};
    for (int factor : {2, 4, 8}) {
        const int w = RoundSideToFactor(left, width, screenWidth, factor);
        const int h = RoundSideToFactor(top, height, screenHeight, factor);
        if (w > 0 && h > 0 && query.Accepts(code, w, h))
            return CompressorChoice{code, w, h, false};
    }
    return std::nullopt;
}

std::optional<CompressorChoice> ChooseCompressor(const CompressorQuery& query, FourCC chosen, FourCC fallback,
                                                 int left, int top, int width, int height, int screenWidth,
                                                 int screenHeight)
{
    if (chosen != kFourCCDivx && chosen != kFourCCIv50) {
        if (auto fit = FitSizeToCompressor(query, chosen, left, top, width, height, screenWidth, screenHeight))
            return fit;
    }
    auto fit = FitSizeToCompressor(query, fallback, left, top, width, height, screenWidth, screenHeight);
    if (fit)
        fit->fellBack = chosen != fallback;
    return fit;
}

} // namespace vistrel
