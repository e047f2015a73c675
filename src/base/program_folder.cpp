#include "base/program_folder.h"

#include <climits>
#include <cstdlib>
#include <unistd.h>

namespace vistrel {

namespace {

std::string WithoutTrailingSlash(std::string path)
{
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

std::string AbsolutePath(const std::string& path)
{
    if (path.empty() || path.front() == '/')
        return path;
    char cwd[PATH_MAX];
    if (!getcwd(cwd, sizeof cwd))
        return path;
    return std::string(cwd) + "/" + path;
}

} // namespace

void SetProgramFolderOverride(const std::string& folder)
{
    if (folder.empty())
        unsetenv("VISTREL_HOME");
    else
        setenv("VISTREL_HOME", WithoutTrailingSlash(AbsolutePath(folder)).c_str(), 1);
}

std::string ExecutableFolder()
{
    char buf[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0)
        return {};
    std::string path(buf, size_t(n));
    auto slash = path.rfind('/');
    if (slash == std::string::npos)
        return {};
    return slash == 0 ? std::string("/") : path.substr(0, slash);
}

std::string GetProgramFolder()
{
    if (const char* home = std::getenv("VISTREL_HOME"); home && *home)
        return WithoutTrailingSlash(AbsolutePath(home));
    std::string exeFolder = ExecutableFolder();
    if (!exeFolder.empty() && access(exeFolder.c_str(), W_OK) == 0)
        return exeFolder;
    if (const char* data = std::getenv("XDG_DATA_HOME"); data && *data == '/')
        return WithoutTrailingSlash(data) + "/vistrel";
    if (const char* home = std::getenv("HOME"); home && *home == '/')
        return WithoutTrailingSlash(home) + "/.local/share/vistrel";
    return exeFolder;
}

} // namespace vistrel
