#include "base/program_folder.h"

#include <climits>
#include <filesystem>
#include <cstdlib>
#include <sys/stat.h>
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

namespace {

bool HomeGiven()
{
    const char* home = std::getenv("VISTREL_HOME");
    return home && *home;
}

// bin/ with share/vistrel beside it.
bool InstalledLayout(const std::string& exeFolder)
{
    const size_t slash = exeFolder.rfind('/');
    if (slash == std::string::npos || exeFolder.compare(slash + 1, std::string::npos, "bin") != 0)
        return false;
    struct stat st {};
    const std::string share = exeFolder.substr(0, slash) + "/share/vistrel";
    return stat(share.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

} // namespace

bool InstalledUse() { return !HomeGiven() && InstalledLayout(ExecutableFolder()); }

std::string GetProgramFolder()
{
    if (HomeGiven())
        return WithoutTrailingSlash(AbsolutePath(std::getenv("VISTREL_HOME")));
    std::string exeFolder = ExecutableFolder();
    // Installed, the folder of the programs is never the user's, even where
    // the user may write there (root, or a prefix in the home folder).
    if (!exeFolder.empty() && !InstalledLayout(exeFolder) && access(exeFolder.c_str(), W_OK) == 0)
        return exeFolder;
    if (const char* data = std::getenv("XDG_DATA_HOME"); data && *data == '/')
        return WithoutTrailingSlash(data) + "/vistrel";
    if (const char* home = std::getenv("HOME"); home && *home == '/')
        return WithoutTrailingSlash(home) + "/.local/share/vistrel";
    return exeFolder;
}

namespace {

// The source tree's copy, when this executable is the one in the build folder.
std::string SourceTreeFolder(const std::string& exeFolder, const std::string& sourcePath)
{
#if defined(VISTREL_BUILD_DIR) && defined(VISTREL_SOURCE_DATA_DIR)
    std::error_code ec;
    auto build = std::filesystem::weakly_canonical(VISTREL_BUILD_DIR, ec);
    if (!ec && !exeFolder.empty() && build == std::filesystem::path(exeFolder))
        return std::string(VISTREL_SOURCE_DATA_DIR) + "/" + sourcePath;
#else
    (void)exeFolder;
    (void)sourcePath;
#endif
    return {};
}

} // namespace

std::vector<std::string> ShippedDataFolders(const std::string& installedName, const std::string& sourcePath)
{
    std::vector<std::string> folders;
    const std::string exeFolder = ExecutableFolder();
    if (exeFolder.empty())
        return folders;
    const std::filesystem::path installed = std::filesystem::path(exeFolder).parent_path() / "share/vistrel" / installedName;
    folders.push_back(installed.lexically_normal().string());
    if (std::string source = SourceTreeFolder(exeFolder, sourcePath); !source.empty())
        folders.push_back(std::move(source));
    return folders;
}

} // namespace vistrel
