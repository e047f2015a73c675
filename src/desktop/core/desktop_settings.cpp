#include "desktop/core/desktop_settings.h"

#include "base/path_names.h"

#include <algorithm>
#include <cctype>

namespace vistrel {

namespace {

std::string Upper(std::string_view text)
{
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) { return char(std::toupper(c)); });
    return out;
}

DesktopKind KindOfWord(std::string_view word)
{
    const std::string w = Upper(word);
    if (w == "GNOME" || w == "UNITY" || w == "BUDGIE" || w == "GNOME-CLASSIC" || w == "UBUNTU")
        return DesktopKind::Gnome;
    if (w == "X-CINNAMON" || w == "CINNAMON")
        return DesktopKind::Cinnamon;
    if (w == "MATE")
        return DesktopKind::Mate;
    if (w == "XFCE" || w == "XFCE4")
        return DesktopKind::Xfce;
    return DesktopKind::None;
}

DesktopSetting Gsetting(SettingRole role, std::string schema, std::string key)
{
    DesktopSetting s;
    s.role = role;
    s.readArgv = {"gsettings", "get", schema, key};
    s.writeArgv = {"gsettings", "set", schema, key};
    s.id = schema + " " + key;
    return s;
}

DesktopSetting Xfconf(SettingRole role, std::string property)
{
    DesktopSetting s;
    s.role = role;
    s.readArgv = {"xfconf-query", "-c", "xfce4-desktop", "-p", property};
    s.writeArgv = {"xfconf-query", "-c", "xfce4-desktop", "-p", property, "-s"};
    s.id = "xfce4-desktop " + property;
    return s;
}

std::vector<DesktopSetting> XfceSettings(std::string_view list)
{
    std::vector<DesktopSetting> settings;
    while (!list.empty()) {
        const size_t end = std::min(list.find('\n'), list.size());
        const std::string_view line = list.substr(0, end);
        list.remove_prefix(std::min(end + 1, list.size()));
        if (!line.starts_with("/backdrop/"))
            continue;
        if (line.ends_with("/last-image"))
            settings.push_back(Xfconf(SettingRole::Picture, std::string(line)));
        else if (line.ends_with("/image-style"))
            settings.push_back(Xfconf(SettingRole::Style, std::string(line)));
    }
    return settings;
}

} // namespace

DesktopKind DetectDesktop(std::string_view currentDesktop, std::string_view session)
{
    std::string_view list = currentDesktop.empty() ? session : currentDesktop;
    while (!list.empty()) {
        const size_t colon = std::min(list.find(':'), list.size());
        if (const DesktopKind kind = KindOfWord(list.substr(0, colon)); kind != DesktopKind::None)
            return kind;
        list.remove_prefix(std::min(colon + 1, list.size()));
    }
    return DesktopKind::None;
}

bool DesktopHidesTheRoot(std::string_view currentDesktop, std::string_view session)
{
    std::string_view list = currentDesktop.empty() ? session : currentDesktop;
    while (!list.empty()) {
        const size_t colon = std::min(list.find(':'), list.size());
        const std::string word = Upper(list.substr(0, colon));
        if (word == "KDE" || word == "PLASMA")
            return true;
        list.remove_prefix(std::min(colon + 1, list.size()));
    }
    return false;
}

std::string_view DesktopName(DesktopKind kind)
{
    switch (kind) {
    case DesktopKind::Gnome: return "gnome";
    case DesktopKind::Cinnamon: return "cinnamon";
    case DesktopKind::Mate: return "mate";
    case DesktopKind::Xfce: return "xfce";
    case DesktopKind::None: break;
    }
    return "none";
}

DesktopKind DesktopFromName(std::string_view name)
{
    for (DesktopKind kind : {DesktopKind::Gnome, DesktopKind::Cinnamon, DesktopKind::Mate, DesktopKind::Xfce})
        if (DesktopName(kind) == name)
            return kind;
    return DesktopKind::None;
}

std::vector<std::string> XfceListArgv() { return {"xfconf-query", "-c", "xfce4-desktop", "-l"}; }

std::vector<DesktopSetting> WallpaperSettings(DesktopKind kind, std::string_view xfconfList)
{
    const std::string gnome = "org.gnome.desktop.background";
    const std::string cinnamon = "org.cinnamon.desktop.background";
    const std::string mate = "org.mate.background";
    switch (kind) {
    case DesktopKind::Gnome:
        return {Gsetting(SettingRole::Picture, gnome, "picture-uri"),
                Gsetting(SettingRole::Picture, gnome, "picture-uri-dark"),
                Gsetting(SettingRole::Style, gnome, "picture-options")};
    case DesktopKind::Cinnamon:
        return {Gsetting(SettingRole::Picture, cinnamon, "picture-uri"),
                Gsetting(SettingRole::Style, cinnamon, "picture-options")};
    case DesktopKind::Mate:
        return {Gsetting(SettingRole::Picture, mate, "picture-filename"),
                Gsetting(SettingRole::Style, mate, "picture-options")};
    case DesktopKind::Xfce: return XfceSettings(xfconfList);
    case DesktopKind::None: break;
    }
    return {};
}

std::string SettingValue(DesktopKind kind, SettingRole role, const std::string& path, WallpaperStyle style)
{
    if (kind == DesktopKind::Xfce) {
        if (role == SettingRole::Picture)
            return path;
        // xfdesktop: 1 centred, 2 tiled, 3 stretched.
        return style == WallpaperStyle::Center ? "1" : style == WallpaperStyle::Tile ? "2" : "3";
    }
    if (role == SettingRole::Picture)
        return GVariantString(kind == DesktopKind::Mate ? path : FileUri(path));
    return style == WallpaperStyle::Center ? "'centered'" : style == WallpaperStyle::Tile ? "'wallpaper'" : "'stretched'";
}

std::string ValueToWriteBack(std::string printed)
{
    while (!printed.empty() && (printed.back() == '\n' || printed.back() == '\r'))
        printed.pop_back();
    return printed;
}

std::string GVariantString(std::string_view text)
{
    std::string quoted = "'";
    for (char c : text) {
        if (c == '\'' || c == '\\')
            quoted += '\\';
        quoted += c;
    }
    return quoted + "'";
}

} // namespace vistrel
