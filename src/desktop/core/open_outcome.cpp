#include "desktop/core/open_outcome.h"

#include <cerrno>
#include <unistd.h>

namespace vistrel {

int CheckFileToOpen(const std::string& path)
{
    if (access(path.c_str(), R_OK) == 0)
        return 0;
    if (errno == EACCES)
        return 5;
    const size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
    return access(folder.c_str(), F_OK) == 0 ? 2 : 3;
}

std::string OpenFailureText(int code)
{
    switch (code) {
    case 2: return "The specified file was not found.";
    case 3: return "The specified path was not found.";
    case 5: return "The operating system denied access to the specified file.";
    case 31: return "There is no application associated with the given filename extension.";
    default: return "Unknown Error (" + std::to_string(code) + ") occurred.";
    }
}

} // namespace vistrel
