#pragma once
// Whole reads and writes on descriptors, retried through interruptions.

#include <cstdint>
#include <span>

namespace vistrel {

// False when not every byte could be written.
bool WriteAllToFd(int fd, std::span<const uint8_t> bytes);

// Copies everything from the start of from (whatever its file offset) to to.
bool CopyFdContent(int from, int to);

} // namespace vistrel
