#include "help/core/credits_text.h"

namespace vistrel {

std::vector<std::string> CreditsLines(std::string_view version, std::string_view translator)
{
    std::vector<std::string> lines = {
        "Vistrel " + std::string(version), "", "Screen capture for the Linux desktop", "",
        "Still captures, timed captures,", "recordings and icons", "", "Built with Qt, FFmpeg,",
        "libpng, libjpeg-turbo,", "libtiff and giflib",
    };
    if (!translator.empty()) {
        lines.insert(lines.end(), {"", "Thanks for translation", std::string(translator)});
    }
    lines.insert(lines.end(), {"", "Thank you for using Vistrel"});
    return lines;
}

int NextCreditsOffset(int offset, int stepPx, int textHeight, int bannerHeight)
{
    const int next = offset + stepPx;
    return next > textHeight + bannerHeight || next < 0 ? 0 : next;
}

} // namespace vistrel
