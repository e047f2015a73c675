#include "icons/core/folder_walk.h"

#include "base/unique_fd.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <climits>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <linux/magic.h>
#include <map>
#include <sstream>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/sysmacros.h>
#include <unistd.h>
#include <vector>

namespace vistrel {

namespace {

constexpr std::array<std::string_view, 3> kSkippedPaths = {"/proc", "/sys", "/dev"};

// Pseudo file systems by their statfs magic, for mounts that the mount table
// does not name (no /proc mounted, or a mount made after the walk started).
constexpr std::array<long, 20> kPseudoMagics = {
    PROC_SUPER_MAGIC, SYSFS_MAGIC,      DEVPTS_SUPER_MAGIC, CGROUP_SUPER_MAGIC, CGROUP2_SUPER_MAGIC,
    DEBUGFS_MAGIC,    TRACEFS_MAGIC,    SECURITYFS_MAGIC,   PSTOREFS_MAGIC,     BPF_FS_MAGIC,
    0x62656570,       0x65735543,       0x19800202,         HUGETLBFS_MAGIC,    BINFMTFS_MAGIC,
    EFIVARFS_MAGIC,   AUTOFS_SUPER_MAGIC, NSFS_MAGIC,       SELINUX_MAGIC,      SMACK_MAGIC,
}; // the three bare numbers: configfs, fusectl, mqueue


// Mount types by device, read once per walk.
std::map<dev_t, std::string> ReadMountTypes()
{
    std::map<dev_t, std::string> types;
    std::ifstream in("/proc/self/mountinfo");
    std::string line;
    while (std::getline(in, line)) {
        // "ID PARENT MAJOR:MINOR ROOT POINT OPTIONS [TAGS...] - TYPE SOURCE OPTIONS"
        std::istringstream fields(line);
        std::string id, parent, device, word;
        unsigned major = 0, minor = 0;
        char colon = 0;
        if (!(fields >> id >> parent >> device))
            continue;
        std::istringstream(device) >> major >> colon >> minor;
        while (fields >> word && word != "-") {
        }
        if (fields >> word)
            types.emplace(makedev(major, minor), word);
    }
    return types;
}

bool UnderSkippedPath(std::string_view path)
{
    return std::any_of(kSkippedPaths.begin(), kSkippedPaths.end(), [&](std::string_view p) {
        return path == p || (path.starts_with(p) && path.size() > p.size() && path[p.size()] == '/');
    });
}

constexpr dev_t kNoDevice = dev_t(-1);

// A folder still to list, with what it was when its parent was listed.
struct Pending {
    std::string path;
    dev_t parentDevice; // a mount point lies where the device changes
    dev_t device;
    ino_t inode;
};

bool IsPseudoMount(int fd, dev_t device, const std::map<dev_t, std::string>& mountTypes)
{
    if (const auto found = mountTypes.find(device); found != mountTypes.end())
        return IsPseudoFileSystemType(found->second);
    struct statfs fs {};
    return ::fstatfs(fd, &fs) != 0 ||
           std::find(kPseudoMagics.begin(), kPseudoMagics.end(), long(fs.f_type)) != kPseudoMagics.end();
}

std::string Join(const std::string& folder, const std::string& name)
{
    return folder.ends_with('/') ? folder + name : folder + "/" + name;
}

} // namespace

bool IsPseudoFileSystemType(std::string_view type)
{
    constexpr std::array<std::string_view, 23> pseudo = {
        "proc",     "sysfs",   "devtmpfs",    "devpts",   "cgroup",     "cgroup2",    "debugfs",   "tracefs",
        "securityfs", "pstore", "bpf",        "configfs", "fusectl",    "mqueue",     "hugetlbfs", "binfmt_misc",
        "efivarfs", "autofs",  "nsfs",        "selinuxfs", "smackfs",   "rpc_pipefs", "nfsd",
    };
    return std::find(pseudo.begin(), pseudo.end(), type) != pseudo.end();
}

bool HasExtension(std::string_view name, std::string_view extension)
{
    if (name.size() < extension.size())
        return false;
    const std::string_view tail = name.substr(name.size() - extension.size());
    return std::equal(tail.begin(), tail.end(), extension.begin(), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
    });
}

void WalkFolders(const FolderWalk& walk, std::stop_token stop)
{
    const auto mountTypes = ReadMountTypes();
    std::vector<Pending> pending;
    {
        // The root is followed if it is a link: the user named it.
        struct stat st {};
        char* real = ::realpath(walk.root.c_str(), nullptr);
        const std::string resolved = real ? real : walk.root;
        std::free(real);
        if (::stat(walk.root.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || UnderSkippedPath(resolved))
            return;
        pending.push_back({walk.root, kNoDevice, st.st_dev, st.st_ino});
    }
    while (!pending.empty() && !stop.stop_requested()) {
        const Pending folder = std::move(pending.back());
        pending.pop_back();
        const bool isRoot = folder.parentDevice == kNoDevice;
        UniqueFd dir(::open(folder.path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | (isRoot ? 0 : O_NOFOLLOW)));
        struct stat st {};
        // A folder that was swapped for another (or a link) since it was listed is left out.
        if (dir.get() < 0 || ::fstat(dir.get(), &st) != 0 || st.st_dev != folder.device ||
            st.st_ino != folder.inode)
            continue;
        if (st.st_dev != folder.parentDevice && IsPseudoMount(dir.get(), st.st_dev, mountTypes))
            continue;

        std::vector<std::pair<std::string, unsigned char>> entries; // name, d_type
        {
            const int listFd = ::dup(dir.get());
            DIR* stream = listFd < 0 ? nullptr : ::fdopendir(listFd);
            if (!stream) {
                if (listFd >= 0)
                    ::close(listFd);
                continue;
            }
            size_t seen = 0;
            while (const dirent* e = ::readdir(stream)) {
                if ((++seen & 1023) == 0 && stop.stop_requested())
                    break;
                const std::string_view name = e->d_name;
                if (name != "." && name != "..")
                    entries.emplace_back(std::string(name), e->d_type);
            }
            ::closedir(stream);
        }
        std::sort(entries.begin(), entries.end());

        for (const auto& [name, type] : entries) {
            if (stop.stop_requested())
                return;
            if (type != DT_REG && type != DT_LNK && type != DT_UNKNOWN)
                continue;
            if (!walk.wanted(name))
                continue;
            struct stat file {};
            if (type != DT_REG && (::fstatat(dir.get(), name.c_str(), &file, 0) != 0 || !S_ISREG(file.st_mode)))
                continue;
            walk.visit(Join(folder.path, name), name);
        }
        if (!walk.subFolders)
            break;
        std::vector<Pending> below;
        for (const auto& [name, type] : entries) {
            if (type != DT_DIR && type != DT_UNKNOWN)
                continue;
            struct stat sub {};
            if (::fstatat(dir.get(), name.c_str(), &sub, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISDIR(sub.st_mode))
                continue;
            std::string path = Join(folder.path, name);
            if (path.size() >= PATH_MAX || UnderSkippedPath(path))
                continue;
            below.push_back({std::move(path), st.st_dev, sub.st_dev, sub.st_ino});
        }
        pending.insert(pending.end(), std::make_move_iterator(below.rbegin()), std::make_move_iterator(below.rend()));
    }
}

} // namespace vistrel
