#pragma once
// The codec's file access: whole-file reads, and writes through a sink over the
// program's replace-by-rename writer.

#include "codec/byte_sink.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace vistrel {

// The bytes of a regular file of at most maxBytes; nullopt with errno otherwise
// (EISDIR for a folder, EFBIG for a larger file, EINVAL for no regular file).
std::optional<std::vector<uint8_t>> ReadWholeFile(const char* path, uint64_t maxBytes);

// Encodes into path through the one replace-by-rename writer of the program.
bool WriteThroughSink(const std::string& path, const std::function<bool(ByteSink&)>& write);

// Encodes into an open descriptor; true once every byte is written.
bool WriteToFd(int fd, const std::function<bool(ByteSink&)>& write);

} // namespace vistrel
