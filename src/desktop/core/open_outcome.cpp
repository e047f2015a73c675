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

} // namespace vistrel
