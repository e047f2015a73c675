#pragma once
// The folder walk of the icon search. Folders are listed in name order (bytes),
// a folder's files before its sub-folders, so a search numbers what it finds the
// same way every time.
//
// The walk stays inside real files: it never follows a symbolic link to a
// folder (links to files are files), never enters /proc, /sys or /dev nor any
// pseudo file system mounted elsewhere (told by its type), and silently skips
// folders it cannot open or that change while it runs. It holds one folder
// open at a time, and stops between files once stop is requested.

#include <functional>
#include <stop_token>
#include <string>
#include <string_view>

namespace vistrel {

struct FolderWalk {
    std::string root;
    bool subFolders = true;
    // Chooses files by name before anything else is asked of them.
    std::function<bool(std::string_view name)> wanted;
    // Each regular file chosen: its path (folder + "/" + name) and name.
    std::function<void(const std::string& path, const std::string& name)> visit;
};

void WalkFolders(const FolderWalk& walk, std::stop_token stop);

// Whether a mount of this type (as /proc/self/mountinfo names it) holds no
// real files: proc, sysfs, devtmpfs, cgroup and the like.
bool IsPseudoFileSystemType(std::string_view type);

// Whether a name ends in extension (".ico"), letters in any case.
bool HasExtension(std::string_view name, std::string_view extension);

} // namespace vistrel
