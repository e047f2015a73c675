#pragma once
// Unnamed files (O_TMPFILE): written while invisible, then given a name by a
// link that never replaces an existing entry. Used by the writers of new files
// and of replaced files, so neither leaves a temporary behind when killed.

#include "base/unique_fd.h"

#include <string>

namespace vistrel {

// An unnamed file in folder, open for writing; invalid with errno on failure.
UniqueFd OpenUnnamedFile(const std::string& folder);

// True for the errors by which a file system says it has no unnamed files.
bool UnnamedFilesUnsupported(int error);

// True for the errors by which a file system refuses a hard link to a file (no
// links there, another device, too many links); a copy does the same job then.
bool HardLinkRefused(int error);

// Gives the unnamed file the name path, never replacing anything: a link, or
// where links are refused (no /proc, some file systems) a copy into a file
// created exclusively. 0, or the errno (EEXIST: the name is taken).
int NameUnnamedFile(int fd, const std::string& path);

} // namespace vistrel
