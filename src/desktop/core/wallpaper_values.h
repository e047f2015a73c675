#pragma once
// The registry values that go with the wallpaper and the browser skin, and the
// record of the user's own wallpaper, kept from before our first change until
// it is restored. All in the program's registry store (registry.ini); the
// caller saves the store. User-interface thread or a command-line run.

#include "base/registry_store.h"
#include "desktop/core/wallpaper_layout.h"

#include <optional>
#include <string>

namespace vistrel {

inline constexpr const char* kDesktopKey = "Control Panel\\Desktop";
inline constexpr const char* kToolbarKey = "Software\\Microsoft\\Internet Explorer\\Toolbar";
inline constexpr const char* kWallpaperBeforeKey = "Software\\Tessaro Works\\Vistrel\\Wallpaper before";

// "WallpaperStyle" and "TileWallpaper" of the style, in the style's order.
void WriteWallpaperStyleValues(RegistryStore& store, WallpaperStyle style);

// "BackBitmap": the picture's path, or empty when the skin is removed.
void WriteBrowserSkin(RegistryStore& store, const std::string& path);

// Where the wallpaper was when we first changed it: the desktop's name
// (DesktopName) or "root" for the X root window.
std::optional<std::string> RememberedWallpaperPlace(const RegistryStore& store);
void RememberWallpaperPlace(RegistryStore& store, const std::string& place);

// A remembered setting's value (by DesktopSetting::id), or the root picture's
// file ("root picture").
std::optional<std::string> RememberedValue(const RegistryStore& store, const std::string& id);
void RememberValue(RegistryStore& store, const std::string& id, const std::string& value);

// After a restore: the next change remembers afresh.
void ForgetWallpaper(RegistryStore& store);

} // namespace vistrel
