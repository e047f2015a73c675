#pragma once
// Our own reader of the resource directory of PE32 and PE32+ files. The file is
// only read, never loaded or run, and treated as hostile: every offset, size and
// count is checked against the file before it is used, the directory is walked
// to its fixed depth of three (type, name, language) and no deeper, so a
// directory that points back at itself ends the walk with a failure.
//
// Not thread-safe: one thread at a time per object.

#include "icons/core/byte_source.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace vistrel {

constexpr uint16_t kResourceTypeIcon = 3;
constexpr uint16_t kResourceTypeGroupIcon = 14;

// A resource's name: a number, or a text (UTF-16 as stored).
struct ResourceName {
    bool isText = false;
    uint16_t id = 0;
    std::u16string text;

    bool operator==(const ResourceName&) const = default;
};

// Resource names longer than this are taken for damage, and so are more
// characters of names than this under one type.
constexpr size_t kMaxResourceNameChars = 256;
constexpr size_t kMaxResourceNameCharsPerType = size_t(1) << 20;
// The largest single resource read (group directory or image).
constexpr uint64_t kMaxResourceBytes = uint64_t(64) << 20;

class PeResources {
public:
    // nullopt when the bytes are not a PE32 or PE32+ file with readable headers
    // and section table. The source must outlive the object.
    static std::optional<PeResources> Open(const ByteSource& file);

    // The names under a resource type, in directory order (texts first, then
    // numbers, as resource compilers sort them); empty when the file has none.
    // nullopt when the directory is damaged.
    std::optional<std::vector<ResourceName>> Names(uint16_t type) const;

    // Where a resource's data lies in the file (its first language).
    struct Location {
        uint64_t fileOffset = 0;
        uint32_t size = 0;
    };
    // Lookups cost a binary search: each type's names are read once.
    std::optional<Location> Find(uint16_t type, const ResourceName& name) const;

    const ByteSource& File() const { return *m_file; }

private:
    struct Section {
        uint32_t virtualAddress, virtualSize, rawSize, rawOffset;
    };
    struct Entry {
        uint32_t name, target;
    };
    struct Directory {
        uint32_t offset; // from the start of the resource directory
        std::vector<Entry> entries;
    };

    explicit PeResources(const ByteSource& file) : m_file(&file) {}

    std::optional<uint64_t> FileOffsetOfRva(uint64_t rva, uint64_t length) const;
    bool ReadDirectoryBytes(uint64_t offset, std::span<uint8_t> out) const;
    std::optional<Directory> ReadDirectory(uint32_t offset, size_t maxEntries) const;
    // A type's name level, read once: the entries in directory order and, for
    // lookups by binary search, their positions sorted by name.
    struct TypeIndex {
        uint32_t offset = 0;
        std::vector<ResourceName> names;
        std::vector<uint32_t> targets;
        std::vector<uint32_t> byName;
    };
    const std::optional<TypeIndex>& IndexOf(uint16_t type) const;
    std::optional<TypeIndex> BuildIndex(uint16_t type) const;
    std::optional<ResourceName> NameOf(uint32_t nameField) const;
    std::optional<Location> DataOf(uint32_t target, uint32_t typeOffset) const;

    const ByteSource* m_file;
    std::vector<Section> m_sections;
    uint32_t m_sizeOfHeaders = 0;
    uint64_t m_resourceFileOffset = 0;
    uint64_t m_resourceBytes = 0; // in the file from m_resourceFileOffset on

    mutable std::map<uint16_t, std::optional<TypeIndex>> m_indexes;
};

} // namespace vistrel
