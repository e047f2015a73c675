#pragma once
// Random access to the bytes of a file (or of a buffer, for tests and fuzzing).
// Module files can be large and their icons are a small part of them, so they
// are read piece by piece; every piece's offset and length is checked against
// the size before anything is allocated for it.

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace vistrel {

class ByteSource {
public:
    virtual ~ByteSource() = default;
    virtual uint64_t Size() const = 0;
    // Fills out with the bytes at offset; false when they are not all there.
    virtual bool ReadAt(uint64_t offset, std::span<uint8_t> out) const = 0;

    bool Has(uint64_t offset, uint64_t length) const
    {
        return offset <= Size() && length <= Size() - offset;
    }
    // length bytes at offset, or nullopt (without allocating) when they are not there.
    std::optional<std::vector<uint8_t>> Read(uint64_t offset, uint64_t length) const;
};

// A regular file opened for reading; nullptr with errno when it cannot be
// opened or is not a regular file. Opening never waits (a pipe or device of that
// name is refused).
std::unique_ptr<ByteSource> OpenFileSource(const std::string& path);

// Bytes held by the caller, who keeps them alive while the source is used.
std::unique_ptr<ByteSource> MemorySource(std::span<const uint8_t> bytes);

} // namespace vistrel
