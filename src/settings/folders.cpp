#include "settings/folders.h"

#include <cerrno>
#include <sys/stat.h>

namespace vistrel {

bool IsFolder(const std::string& path)
{
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string TrimBlanks(std::string_view text)
{
    constexpr std::string_view blanks = " \t\r\n\v\f";
    auto first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos)
        return {};
    return std::string(text.substr(first, text.find_last_not_of(blanks) - first + 1));
}

void EnsureFolder(const std::string& path)
{
    if (!IsFolder(path))
        CreateFolderPath(path);
}

void CreateFolderPath(const std::string& rawPath)
{
    std::string path = TrimBlanks(rawPath);
    if (path.empty())
        return;

    size_t start = path.front() == '/' ? 1 : 0;
    while (start < path.size()) {
        size_t slash = path.find('/', start);
        size_t end = slash == std::string::npos ? path.size() : slash;
        if (end == start)
            return; // empty component: "//" in the middle
        mkdir(path.substr(0, end).c_str(), 0777);
        if (slash == std::string::npos)
            return;
        start = slash + 1;
    }
}

} // namespace vistrel
