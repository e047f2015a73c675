#include "desktop/wallpaper.h"

#include "base/child_process.h"
#include "base/program_folder.h"
#include "base/registry_store.h"
#include "base/trace.h"
#include "desktop/core/desktop_settings.h"
#include "desktop/core/wallpaper_values.h"
#include "library/core/save_as.h"
#include "platform/x11/root_background.h"

#include <cstdio>
#include <cstdlib>
#include <optional>

namespace vistrel {

namespace {

constexpr const char* kRootPlace = "root";
constexpr const char* kRootPictureValue = "root picture";

std::string RootPictureFile() { return GetProgramFolder() + "/wallpaper-before.png"; }

std::string Environment(const char* name)
{
    const char* value = std::getenv(name);
    return value ? value : "";
}

DesktopKind RunningDesktop() { return DetectDesktop(Environment("XDG_CURRENT_DESKTOP"), Environment("DESKTOP_SESSION")); }

bool RootIsHidden() { return DesktopHidesTheRoot(Environment("XDG_CURRENT_DESKTOP"), Environment("DESKTOP_SESSION")); }

std::vector<DesktopSetting> SettingsOf(DesktopKind kind)
{
    if (kind != DesktopKind::Xfce)
        return WallpaperSettings(kind);
    const ChildOutcome list = RunProgram(XfceListArgv());
    return list.succeeded() ? WallpaperSettings(kind, list.output) : std::vector<DesktopSetting> {};
}

bool WriteSetting(const DesktopSetting& setting, const std::string& value)
{
    std::vector<std::string> argv = setting.writeArgv;
    argv.push_back(value);
    return RunProgram(argv).succeeded();
}

// Reads every setting's value now; nothing is kept unless all can be read.
bool RememberDesktop(RegistryStore& store, DesktopKind kind, const std::vector<DesktopSetting>& settings)
{
    std::vector<std::pair<std::string, std::string>> values;
    for (const DesktopSetting& setting : settings) {
        const ChildOutcome read = RunProgram(setting.readArgv);
        if (!read.succeeded())
            return false;
        values.emplace_back(setting.id, ValueToWriteBack(read.output));
    }
    for (const auto& [id, value] : values)
        RememberValue(store, id, value);
    RememberWallpaperPlace(store, std::string(DesktopName(kind)));
    return true;
}

bool RestoreDesktop(const RegistryStore& store, DesktopKind kind, std::string& error);

bool SetOnDesktop(RegistryStore& store, DesktopKind kind, const std::string& path, WallpaperStyle style)
{
    const auto settings = SettingsOf(kind);
    if (settings.empty())
        return false;
    const bool rememberedHere = !RememberedWallpaperPlace(store);
    if (rememberedHere && !RememberDesktop(store, kind, settings))
        return false;
    for (const DesktopSetting& setting : settings) {
        if (WriteSetting(setting, SettingValue(kind, setting.role, path, style)))
            continue;
        // Half a change is undone, so the user's wallpaper is not lost to a desktop that refused.
        std::string ignored;
        RestoreDesktop(store, kind, ignored);
        if (rememberedHere)
            ForgetWallpaper(store);
        return false;
    }
    return true;
}

bool RememberRoot(RegistryStore& store, std::string& error)
{
    const auto shown = x11::ReadRootBackground(&error);
    if (!shown)
        return false;
    const std::string file = RootPictureFile();
    if (CImage(*shown, 24).Save(file.c_str(), IMAGE_TYPE_PNG) == 0) {
        error = "cannot keep the current background in " + file;
        return false;
    }
    RememberValue(store, kRootPictureValue, file);
    RememberWallpaperPlace(store, kRootPlace);
    return true;
}

bool ShowOnRoot(const Bitmap& picture, WallpaperStyle style, std::string& error)
{
    const auto size = x11::RootSize(&error);
    if (!size)
        return false;
    const Bitmap screen = ComposeWallpaper(picture, size->first, size->second, style, kWallpaperFill);
    return x11::SetRootPicture(screen, &error);
}

bool SetOnRoot(RegistryStore& store, const Bitmap& picture, WallpaperStyle style, std::string& error)
{
    if (RootIsHidden()) {
        error = "this desktop (" + Environment("XDG_CURRENT_DESKTOP") + ") keeps its wallpaper where Vistrel cannot set it";
        return false;
    }
    if (!RememberedWallpaperPlace(store) && !RememberRoot(store, error))
        return false;
    return ShowOnRoot(picture, style, error);
}

// A background of one colour comes back as that colour, as xsetroot made it.
std::optional<uint32_t> SingleColor(const Bitmap& picture)
{
    if (!picture.holdsAllPixels())
        return std::nullopt;
    const uint32_t first = picture.pixels.front() | 0xFF000000u;
    for (size_t i = 0; i < size_t(picture.width) * size_t(picture.height); ++i)
        if ((picture.pixels[i] | 0xFF000000u) != first)
            return std::nullopt;
    return first;
}

bool RestoreRoot(const RegistryStore& store, std::string& error)
{
    const auto file = RememberedValue(store, kRootPictureValue);
    SaveCopyResult failure;
    const auto picture = file ? ReadPicture(*file, failure) : std::nullopt;
    if (!picture) {
        error = "the background from before is lost: " + failure.error;
        return false;
    }
    if (const auto color = SingleColor(picture->bitmap()))
        return x11::SetRootColor(*color, &error);
    return ShowOnRoot(picture->bitmap(), WallpaperStyle::Center, error);
}

bool RestoreDesktop(const RegistryStore& store, DesktopKind kind, std::string& error)
{
    for (const DesktopSetting& setting : SettingsOf(kind)) {
        const auto value = RememberedValue(store, setting.id);
        if (value && !WriteSetting(setting, *value)) {
            error = "the desktop did not take its wallpaper back";
            return false;
        }
    }
    return true;
}

} // namespace

WallpaperOutcome SetWallpaper(const std::string& picturePath, WallpaperStyle style)
{
    WallpaperOutcome outcome;
    SaveCopyResult failure;
    const auto picture = ReadPicture(picturePath, failure);
    if (!picture) {
        outcome.error = failure.error;
        return outcome;
    }
    RegistryStore store(RegistryStore::DefaultPath());
    WriteWallpaperStyleValues(store, style);
    const auto remembered = RememberedWallpaperPlace(store);
    const DesktopKind kind = remembered ? DesktopFromName(*remembered) : RunningDesktop();
    if (kind != DesktopKind::None && SetOnDesktop(store, kind, picturePath, style)) {
        outcome.done = true;
        outcome.where = DesktopName(kind);
    } else if ((!remembered || *remembered == kRootPlace) && SetOnRoot(store, picture->bitmap(), style, outcome.error)) {
        outcome.done = true;
        outcome.where = kRootPlace;
    } else if (outcome.error.empty()) {
        outcome.error = "the desktop did not take the wallpaper";
    }
    // A wallpaper that could not be set leaves the values and the memory as they were.
    if (outcome.done && !store.Save())
        Trace("wallpaper set, but " + RegistryStore::DefaultPath() + " could not be written");
    Trace("wallpaper " + std::string(outcome.done ? "set on " + outcome.where : "not set: " + outcome.error));
    return outcome;
}

WallpaperOutcome RestoreWallpaper()
{
    WallpaperOutcome outcome;
    RegistryStore store(RegistryStore::DefaultPath());
    const auto place = RememberedWallpaperPlace(store);
    if (!place) {
        outcome.done = true; // the user's own wallpaper is still there
        outcome.where = "unchanged";
        return outcome;
    }
    const bool restored = *place == kRootPlace ? RestoreRoot(store, outcome.error)
                                               : RestoreDesktop(store, DesktopFromName(*place), outcome.error);
    if (!restored)
        return outcome;
    if (*place == kRootPlace)
        std::remove(RootPictureFile().c_str());
    ForgetWallpaper(store);
    if (!store.Save())
        Trace("wallpaper restored, but " + RegistryStore::DefaultPath() + " could not be written");
    outcome.done = true;
    outcome.where = *place;
    Trace("wallpaper restored on " + outcome.where);
    return outcome;
}

} // namespace vistrel
