#pragma once
// Whole reads and writes on descriptors, retried through interruptions.

#include <cstdint>
#include <functional>
#include <span>

namespace vistrel {

// False when not every byte could be written.
bool WriteAllToFd(int fd, std::span<const uint8_t> bytes);

// Runs a writer over a descriptor; an exception (out of memory while encoding,
// say) counts as a failed write.
bool RunFdWriter(const std::function<bool(int fd)>& write, int fd);

// Copies everything from the start of from (whatever its file offset) to to.
bool CopyFdContent(int from, int to);

} // namespace vistrel
