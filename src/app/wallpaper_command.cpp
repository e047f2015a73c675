#include "app/wallpaper_command.h"

#include "desktop/core/wallpaper_layout.h"
#include "desktop/wallpaper.h"
#include "library/core/save_as.h"

#include <iostream>

namespace vistrel {

namespace {

int Refuse(const std::string& why)
{
    std::cerr << "vistrel: --wallpaper " << why << " (see --help)\n";
    return 2;
}

int Report(const WallpaperOutcome& outcome)
{
    if (outcome.done)
        return 0;
    std::cerr << "vistrel: " << outcome.error << "\n";
    return 1;
}

} // namespace

int RunWallpaperCommand(const CommandLine& cl)
{
    const auto& words = cl.wallpaper;
    if (words.size() == 1 && words[0] == "restore")
        return Report(RestoreWallpaper());
    if (words.size() != 2)
        return Refuse("takes FILE and a style, or restore");
    const auto style = ParseWallpaperStyle(words[1]);
    if (!style)
        return Refuse("style \"" + words[1] + "\" is not one of center, tile, stretch");
    if (SaveAsSourceType(words[0]) < 0)
        return Refuse(words[0] + ": not a picture Vistrel reads (.bmp, .gif, .jpg, .png, .tif)");
    return Report(SetWallpaper(words[0], *style));
}

} // namespace vistrel
