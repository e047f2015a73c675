#include "settings/default_tools.h"

#include <cstdlib>
#include <initializer_list>
#include <sys/stat.h>
#include <unistd.h>

namespace vistrel {

namespace {

std::string FirstFound(std::initializer_list<std::string_view> names)
{
    for (auto name : names)
        if (auto path = FindOnPath(name); !path.empty())
            return path;
    if (auto opener = FindOnPath("xdg-open"); !opener.empty())
        return opener;
    return "xdg-open";
}

} // namespace

std::string FindOnPath(std::string_view name)
{
    const char* path = std::getenv("PATH");
    std::string_view dirs = path ? path : "/usr/local/bin:/usr/bin:/bin";
    while (!dirs.empty()) {
        auto colon = dirs.find(':');
        std::string_view dir = dirs.substr(0, colon);
        dirs = colon == std::string_view::npos ? std::string_view() : dirs.substr(colon + 1);
        if (dir.empty())
            continue;
        std::string candidate = std::string(dir) + "/" + std::string(name);
        struct stat st {};
        if (stat(candidate.c_str(), &st) == 0 && S_ISREG(st.st_mode) && access(candidate.c_str(), X_OK) == 0)
            return candidate;
    }
    return {};
}

std::string DefaultImageEditor()
{
    return FirstFound({"pinta", "kolourpaint", "drawing", "mtpaint", "gimp", "krita"});
}

std::string DefaultVideoPlayer()
{
    return FirstFound({"mpv", "vlc", "celluloid", "totem", "parole", "smplayer", "ffplay"});
}

} // namespace vistrel
