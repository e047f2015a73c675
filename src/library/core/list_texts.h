#pragma once
// The texts the captured-file list shows for a file: its size and its creation
// date. Plain text work, any thread.

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>

namespace vistrel {

// Below 1024 "N Bytes", else "NKB" (whole kilobytes, the rest dropped). The
// full 64-bit size counts: a 4 GB file is not shown as a few bytes.
std::string SizeText(uint64_t bytes);

// "%A, %B %d, %Y" in local time, with the day and month names of the
// program's locale (LC_TIME, which the toolkit takes from the environment).
std::string DateText(std::time_t when);

struct FileFacts {
    uint64_t size = 0;
    std::time_t created = 0; // the birth time where the file system keeps one, else the last change
};

// nullopt when there is no file at path (a list row then shows nothing).
std::optional<FileFacts> ReadFileFacts(const std::string& path);

} // namespace vistrel
