#pragma once
// Writes a file so that readers only ever see the old content or the complete new
// content: the data goes to a new temporary file beside the target and is
// renamed over it. Replacing an existing file syncs the data first, so a crash
// cannot leave an empty file where a good one was (a new file skips the sync:
// captures are written often and there is nothing to lose). On any failure (full
// disk, missing folder, an exception from the writer) the temporary file is
// removed and the target is untouched.

#include "base/fd_io.h"

#include <cstdint>
#include <functional>
#include <span>
#include <string>

namespace vistrel {

// write() gets the temporary file's descriptor and returns whether it wrote
// everything. A target that exists but is not a regular file is refused.
bool ReplaceFile(const std::string& path, const std::function<bool(int fd)>& write);

// The whole content in one call.
bool WriteFileAtomically(const std::string& path, std::span<const uint8_t> bytes);

} // namespace vistrel
