#pragma once
// Renaming and removing files the way the library's commands need: a rename
// never replaces a file that has the new name, and a removal counts a file
// that is already gone as removed. Any thread.

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>

namespace vistrel {

// Renames from to to unless something exists at to: 0, or an errno value
// (EEXIST when to is taken, EXDEV across file systems). Uses the kernel's
// no-replace rename; where the file system lacks it, a hard link and an
// unlink; where that too is refused, a check and a plain rename, which only a
// file created at to in between could defeat.
int RenameWithoutReplacing(const std::string& from, const std::string& to);

// Removes the file at path; true when nothing is there any more.
bool RemoveFileForGood(const std::string& path);

struct FileFacts {
    uint64_t size = 0;
    std::time_t created = 0; // birth time where the file system keeps it, else last change of content
};

// nullopt when nothing is at path (or it cannot be looked at).
std::optional<FileFacts> LookAtFile(const std::string& path);

} // namespace vistrel
