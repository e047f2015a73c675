#pragma once
// The About box's credits and how they scroll: the lines, and the step from one
// position to the next. Plain data, any thread.

#include <string>
#include <string_view>
#include <vector>

namespace vistrel {

// The credits, one line each; "Thanks for translation" and the translator's
// name only when a translator is named.
std::vector<std::string> CreditsLines(std::string_view version, std::string_view translator);

// How far the text has moved up, in pixels, after one more step: the text
// enters at the banner's bottom edge (offset 0) and, once it has left at the
// top (offset textHeight + bannerHeight), starts again from the bottom.
int NextCreditsOffset(int offset, int stepPx, int textHeight, int bannerHeight);

} // namespace vistrel
