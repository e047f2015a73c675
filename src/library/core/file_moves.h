#pragma once
// The file work behind the list's commands: renaming and moving without ever
// replacing a file that is there, and copying over one. Each returns 0 or an
// errno value; a failure leaves the source where it was. Any thread.

#include <string>

namespace vistrel {

// rename(2) that fails with EEXIST when to exists. Where the file system has
// no such rename, a hard link and an unlink do the same.
int RenameNoReplace(const std::string& from, const std::string& to);

// Moves from to to, also across file systems (copied to a new file, then the
// source removed); EEXIST when to exists.
int MoveNoReplace(const std::string& from, const std::string& to);

// Copies the file's bytes to to, replacing a file of that name only once the
// copy is complete. Copying a file onto itself is refused (EINVAL).
int CopyReplacing(const std::string& from, const std::string& to);

} // namespace vistrel
