#pragma once
// Where the running desktop keeps its wallpaper, and the command lines that read
// and write it: gsettings for GNOME (and the desktops built on it), Cinnamon and
// MATE, xfconf-query for Xfce. The values are handled as the tools print them
// (gsettings' own text form, xfconf's plain text), so a value read can be
// written back unchanged. Plain text work, any thread.

#include "desktop/core/wallpaper_layout.h"

#include <string>
#include <string_view>
#include <vector>

namespace vistrel {

enum class DesktopKind { None, Gnome, Cinnamon, Mate, Xfce };

// From $XDG_CURRENT_DESKTOP (a list separated by ':') and, when that is empty,
// $DESKTOP_SESSION. Desktops we cannot drive give None.
DesktopKind DetectDesktop(std::string_view currentDesktop, std::string_view session);
std::string_view DesktopName(DesktopKind kind); // "gnome", ..., "none"

// Whether the desktop draws its own wallpaper over the root window in a way we
// do not drive (KDE Plasma): a root background there would never be seen.
bool DesktopHidesTheRoot(std::string_view currentDesktop, std::string_view session);
DesktopKind DesktopFromName(std::string_view name);

enum class SettingRole { Picture, Style };

struct DesktopSetting {
    SettingRole role = SettingRole::Picture;
    std::vector<std::string> readArgv; // prints the value
    std::vector<std::string> writeArgv; // the value is appended
    std::string id;                     // names the setting where its old value is kept
};

// The settings of a desktop. For Xfce, whose keys depend on the monitors,
// xfconfList is what `xfconf-query -c xfce4-desktop -l` printed (XfceListArgv).
std::vector<DesktopSetting> WallpaperSettings(DesktopKind kind, std::string_view xfconfList = {});
std::vector<std::string> XfceListArgv();

// The text to write for a role: the picture (as a file URI spelt as GLib spells
// it, or a path, quoted as gsettings reads it) or the style's name in the desktop's terms.
std::string SettingValue(DesktopKind kind, SettingRole role, const std::string& path, WallpaperStyle style);

// A value as a tool printed it, ready to be written back: the line break at
// the end removed.
std::string ValueToWriteBack(std::string printed);

// Text in gsettings' quoting: 'it''s' is written 'it\'s'.
std::string GVariantString(std::string_view text);

} // namespace vistrel
