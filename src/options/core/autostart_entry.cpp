#include "options/core/autostart_entry.h"

#include "base/atomic_file.h"
#include "settings/folders.h"

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <unistd.h>

namespace vistrel {

namespace {

bool IsAbsolute(const char* path) { return path && path[0] == '/'; }

std::string ParentFolder(const std::string& path) { return path.substr(0, path.rfind('/')); }

} // namespace

std::string AutostartEntryPath(const char* xdgConfigHome, const char* home)
{
    std::string config;
    if (IsAbsolute(xdgConfigHome))
        config = xdgConfigHome;
    else if (IsAbsolute(home))
        config = std::string(home) + "/.config";
    else
        return {};
    while (config.size() > 1 && config.back() == '/')
        config.pop_back();
    return config + "/autostart/vistrel.desktop";
}

std::string AutostartEntryPath() { return AutostartEntryPath(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME")); }

std::string ExecArgument(std::string_view argument)
{
    constexpr std::string_view reserved = " \t\n\"'\\><~|&;$*?#()`";
    const bool quote = argument.empty() || argument.find_first_of(reserved) != std::string_view::npos;
    std::string out;
    if (quote)
        out += '"';
    for (char c : argument) {
        if (c == '%')
            out += "%%";
        else if (quote && (c == '"' || c == '`' || c == '$' || c == '\\'))
            (out += '\\') += c;
        else
            out += c;
    }
    if (quote)
        out += '"';
    return out;
}

std::string AutostartEntryText(std::string_view program)
{
    // The value escapes of a desktop entry come on top of the Exec quoting:
    // every backslash the Exec line holds is written twice.
    std::string exec;
    for (char c : ExecArgument(program) + " 0")
        exec += c == '\\' ? std::string("\\\\") : std::string(1, c);
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=Vistrel\n"
           "Comment=Screen capture\n"
           "Exec=" + exec + "\n"
           "Icon=vistrel\n"
           "Terminal=false\n"
           "X-GNOME-Autostart-enabled=true\n";
}

bool WriteAutostartEntry(const std::string& path, std::string_view program)
{
    if (path.empty())
        return false;
    CreateFolderPath(ParentFolder(path));
    const std::string text = AutostartEntryText(program);
    return WriteFileAtomically(path, std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
}

bool RemoveAutostartEntry(const std::string& path)
{
    if (path.empty())
        return false;
    return ::unlink(path.c_str()) == 0 || errno == ENOENT;
}

} // namespace vistrel
