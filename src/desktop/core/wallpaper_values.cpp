#include "desktop/core/wallpaper_values.h"

namespace vistrel {

namespace {

constexpr const char* kPlaceValue = "Place";

} // namespace

void WriteWallpaperStyleValues(RegistryStore& store, WallpaperStyle style)
{
    switch (style) {
    case WallpaperStyle::Center:
        store.SetString(kDesktopKey, "WallpaperStyle", "0");
        store.SetString(kDesktopKey, "TileWallpaper", "0");
        break;
    case WallpaperStyle::Tile:
        store.SetString(kDesktopKey, "TileWallpaper", "1");
        store.SetString(kDesktopKey, "WallpaperStyle", "1");
        break;
    case WallpaperStyle::Stretch:
        store.SetString(kDesktopKey, "TileWallpaper", "0");
        store.SetString(kDesktopKey, "WallpaperStyle", "2");
        break;
    }
}

void WriteBrowserSkin(RegistryStore& store, const std::string& path) { store.SetString(kToolbarKey, "BackBitmap", path); }

std::optional<std::string> RememberedWallpaperPlace(const RegistryStore& store)
{
    return store.GetString(kWallpaperBeforeKey, kPlaceValue);
}

void RememberWallpaperPlace(RegistryStore& store, const std::string& place)
{
    store.SetString(kWallpaperBeforeKey, kPlaceValue, place);
}

std::optional<std::string> RememberedValue(const RegistryStore& store, const std::string& id)
{
    return store.GetString(kWallpaperBeforeKey, id);
}

void RememberValue(RegistryStore& store, const std::string& id, const std::string& value)
{
    store.SetString(kWallpaperBeforeKey, id, value);
}

void ForgetWallpaper(RegistryStore& store) { store.DeleteKey(kWallpaperBeforeKey); }

} // namespace vistrel
