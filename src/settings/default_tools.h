#pragma once
// The programs offered when the settings hold no editor or player of their own:
// the first image editor or video player found on PATH, else xdg-open.

#include <string>
#include <string_view>

namespace vistrel {

// Full path of an executable named name on PATH; empty when there is none.
std::string FindOnPath(std::string_view name);

std::string DefaultImageEditor();
std::string DefaultVideoPlayer();

} // namespace vistrel
