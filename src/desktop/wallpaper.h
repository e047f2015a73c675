#pragma once
// Setting a picture as the desktop's wallpaper and bringing back the user's
// own: the same steps for the library's context menu and `vistrel --wallpaper`.
//
// The running desktop is asked first (desktop_settings.h); when there is none,
// or it does not answer, the X root window's background takes the picture. The
// user's wallpaper is remembered before our first change, in the registry
// store and, for the root window, as a picture file in the program folder;
// Restore puts it back and forgets it. The style values of the registry are
// written with every change and stay after a restore.
//
// Blocking (the desktop's tools answer within moments; a picture is decoded and
// scaled): user-interface thread or a command-line run, one at a time.

#include "desktop/core/wallpaper_layout.h"

#include <string>

namespace vistrel {

struct WallpaperOutcome {
    bool done = false;
    std::string where; // "gnome", ..., or "root" once done
    std::string error; // a sentence for the user when not done
};

WallpaperOutcome SetWallpaper(const std::string& picturePath, WallpaperStyle style);
WallpaperOutcome RestoreWallpaper();

} // namespace vistrel
