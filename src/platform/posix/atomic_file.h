#pragma once
// Writes a file so that readers only ever see the old content or the complete new
// content: the data goes to a temporary file beside the target, is flushed to
// disk, and is renamed over the target. A failed write (full disk, missing
// folder, crash) leaves the old file as it was and no temporary file behind.

#include <cstdint>
#include <cstdio>
#include <span>
#include <string>

namespace vistrel {

class AtomicFileWriter {
public:
    explicit AtomicFileWriter(std::string targetPath);
    ~AtomicFileWriter(); // removes the temporary file unless Commit succeeded
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    // The stream to write to; null when the temporary file could not be made.
    FILE* stream() const { return m_file; }
    bool Write(std::span<const uint8_t> bytes);
    // Flushes, syncs, closes and renames over the target. False on any failure
    // (then the target is untouched).
    bool Commit();
    const std::string& error() const { return m_error; }

private:
    std::string m_target;
    std::string m_tempPath;
    FILE* m_file = nullptr;
    bool m_failed = false;
    std::string m_error;
};

// The whole write in one call.
bool WriteFileAtomically(const std::string& path, std::span<const uint8_t> bytes,
                         std::string* error = nullptr);

} // namespace vistrel
