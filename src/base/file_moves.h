#pragma once
// Renaming, moving, copying and removing files the way the library's commands
// need: a rename or move never replaces a file that has the new name, and a
// removal counts a file that is already gone as removed. Any thread.

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

// Moves from to to, also across file systems (copied to a new file, then the
// source removed), never replacing a file at to: 0, or an errno value (EEXIST
// when to is taken). A failure leaves the source where it was and no copy.
int MoveWithoutReplacing(const std::string& from, const std::string& to);

// Copies the file's bytes to to; a file of that name is replaced only once the
// copy is complete. 0, or an errno value; copying a file onto itself is
// refused (EINVAL).
int CopyReplacing(const std::string& from, const std::string& to);

// Removes the file at path; true when nothing is there any more.
bool RemoveFileForGood(const std::string& path);

struct FileFacts {
    uint64_t size = 0;
    std::time_t created = 0; // birth time where the file system keeps it, else last change of content
};

// nullopt when nothing is at path (or it cannot be looked at).
std::optional<FileFacts> LookAtFile(const std::string& path);

} // namespace vistrel
