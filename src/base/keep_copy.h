#pragma once
// Keeps a file under a new name before it is replaced, without ever replacing
// anything itself: the first free name of stem, stem.1, stem.2, ... is taken by
// an exclusive step (a hard link, or a new file made with O_EXCL), so an older
// kept copy is never overwritten and two programs keeping at once get two names.
// Where the file system refuses hard links the bytes are copied and synced.

#include <optional>
#include <string>

namespace vistrel {

// Makes a hard link at to for the file from names (a symbolic link followed);
// 0 or -1 with errno, like link(2). Tests pass one that fails.
using LinkFunction = int (*)(const char* from, const char* to);
int LinkFollowingSymlinks(const char* from, const char* to);

// The name the file at path is now also kept under; "" when there is no file at
// path (nothing to keep); nullopt when it could not be kept.
std::optional<std::string> KeepUnderNewName(const std::string& path, const std::string& stem,
                                            LinkFunction linkFile = LinkFollowingSymlinks);

} // namespace vistrel
