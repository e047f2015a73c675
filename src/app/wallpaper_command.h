#pragma once
// --wallpaper FILE center|tile|stretch and --wallpaper restore: the library's
// wallpaper commands from the command line, with the same steps.

#include "app/command_line.h"

namespace vistrel {

// Exit status: 0 done; 1 neither the desktop nor the X root window took it, or
// the picture cannot be read (said on stderr); 2 a style or words refused, or a
// file of a type that is not read.
int RunWallpaperCommand(const CommandLine& commandLine);

} // namespace vistrel
