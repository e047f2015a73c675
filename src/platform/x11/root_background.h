#pragma once
// The X root window's background, for desktops where no desktop program draws
// the wallpaper. A picture becomes a pixmap that is the root's background and
// is published in _XROOTPMAP_ID and ESETROOT_PMAP_ID, where programs that draw
// "transparent" windows look for it. The pixmap must outlive us, so it is made
// on a connection of its own whose resources are kept at its close
// (RetainPermanent); the one a setter kept before (both properties naming it)
// is freed, as every setter following this convention does.
//
// Each call opens and closes its own connection; any thread. Failures come back
// as false or nullopt with the reason in *error.

#include "codec/bitmap.h"

#include <optional>
#include <string>

namespace vistrel::x11 {

// The root window's size now; nullopt when no X display can be opened.
std::optional<std::pair<int, int>> RootSize(std::string* error);

// Makes picture, exactly the root's size, the root's background.
bool SetRootPicture(const Bitmap& picture, std::string* error);

// Makes a plain colour the background, as `xsetroot -solid` does: no pixmap,
// and the properties removed.
bool SetRootColor(uint32_t argb, std::string* error);

// What the root's background shows now, read through a window laid over the
// whole screen for a moment whose background is its parent's.
std::optional<Bitmap> ReadRootBackground(std::string* error);

} // namespace vistrel::x11
