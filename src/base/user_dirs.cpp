#include "base/user_dirs.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace vistrel {

namespace {

std::string Home()
{
    const char* home = std::getenv("HOME");
    return home && *home == '/' ? std::string(home) : std::string();
}

std::string WithoutTrailingSlash(std::string path)
{
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

// A value as the file writes it: in double quotes, with \" \\ \$ \` escaped.
std::string Unquoted(std::string_view value)
{
    if (value.size() < 2 || value.front() != '"')
        return {};
    std::string out;
    for (size_t i = 1; i < value.size(); ++i) {
        const char c = value[i];
        if (c == '"')
            return out;
        if (c == '\\' && i + 1 < value.size())
            out += value[++i];
        else
            out += c;
    }
    return {}; // no closing quote
}

} // namespace

std::string UserDirFromText(std::string_view text, std::string_view key, const std::string& home)
{
    const std::string name = "XDG_" + std::string(key) + "_DIR=";
    std::string found;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        const size_t start = line.find_first_not_of(" \t");
        if (start == std::string_view::npos)
            continue;
        line.remove_prefix(start);
        if (!line.starts_with(name))
            continue;
        std::string value = Unquoted(line.substr(name.size()));
        // Only "$HOME/..." and absolute paths are allowed in the file.
        if (value == "$HOME" || value.starts_with("$HOME/")) {
            if (home.empty())
                continue;
            value = home + value.substr(5);
        } else if (value.empty() || value.front() != '/') {
            continue;
        }
        found = WithoutTrailingSlash(value); // the last line of a key counts
    }
    return found;
}

std::string XdgUserDir(std::string_view key, std::string_view fallback)
{
    const std::string home = Home();
    std::string config;
    if (const char* dir = std::getenv("XDG_CONFIG_HOME"); dir && *dir == '/')
        config = dir;
    else if (!home.empty())
        config = home + "/.config";
    if (!config.empty()) {
        std::ifstream in(config + "/user-dirs.dirs");
        std::ostringstream text;
        text << in.rdbuf();
        if (std::string dir = UserDirFromText(text.str(), key, home); !dir.empty())
            return dir;
    }
    return home.empty() ? std::string() : home + "/" + std::string(fallback);
}

} // namespace vistrel
