#include "icons/core/pe_resources.h"

#include "codec/byte_view.h"

#include <algorithm>
#include <array>

namespace vistrel {

namespace {

constexpr uint32_t kHighBit = 0x80000000u;
constexpr size_t kDirectoryHeaderSize = 16;
constexpr size_t kDirectoryEntrySize = 8;
constexpr size_t kDataEntrySize = 16;
constexpr size_t kSectionHeaderSize = 40;
constexpr size_t kMaxEntriesPerDirectory = 2 * 0xFFFF;

bool NameLess(const ResourceName& a, const ResourceName& b)
{
    if (a.isText != b.isText)
        return !a.isText;
    return a.isText ? a.text < b.text : a.id < b.id;
}

} // namespace

std::optional<PeResources> PeResources::Open(const ByteSource& file)
{
    std::array<uint8_t, 64> dos {};
    if (!file.ReadAt(0, dos) || dos[0] != 'M' || dos[1] != 'Z')
        return std::nullopt;
    const uint64_t peOffset = ByteView(dos).U32(0x3C);
    std::array<uint8_t, 24> pe {};
    if (!file.ReadAt(peOffset, pe) || pe[0] != 'P' || pe[1] != 'E' || pe[2] != 0 || pe[3] != 0)
        return std::nullopt; // a DOS program, or a 16-bit (NE) or VxD (LE) module
    const ByteView coff(pe);
    const size_t sectionCount = coff.U16(6);
    const size_t optionalSize = coff.U16(20);
    const auto optional = file.Read(peOffset + pe.size(), optionalSize);
    if (!optional)
        return std::nullopt;
    const ByteView opt(*optional);
    size_t directoriesAt = 0;
    if (opt.U16(0) == 0x10B)
        directoriesAt = 96; // PE32
    else if (opt.U16(0) == 0x20B)
        directoriesAt = 112; // PE32+
    else
        return std::nullopt;
    if (!opt.Has(0, directoriesAt))
        return std::nullopt;

    PeResources res(file);
    res.m_sizeOfHeaders = opt.U32(60);
    const auto sections = file.Read(peOffset + pe.size() + optionalSize, sectionCount * kSectionHeaderSize);
    if (!sections)
        return std::nullopt;
    const ByteView table(*sections);
    for (size_t i = 0; i < sectionCount; ++i) {
        const size_t at = i * kSectionHeaderSize;
        res.m_sections.push_back({table.U32(at + 12), table.U32(at + 8), table.U32(at + 16), table.U32(at + 20)});
    }

    // The resource directory is data directory 2. A module without one is a
    // module without resources.
    const uint32_t directoryCount = opt.U32(directoriesAt - 4);
    const size_t resourceEntry = directoriesAt + 2 * 8;
    if (directoryCount <= 2 || !opt.Has(resourceEntry, 8) || opt.U32(resourceEntry) == 0)
        return res;
    const uint32_t rva = opt.U32(resourceEntry);
    // The directory's own tables lie in the rest of the section that holds it.
    if (const auto offset = res.FileOffsetOfRva(rva, 0)) {
        uint64_t end = std::min(file.Size(), uint64_t(res.m_sizeOfHeaders));
        for (const Section& s : res.m_sections)
            if (rva >= s.virtualAddress && rva - s.virtualAddress < s.rawSize) {
                end = std::min(file.Size(), uint64_t(s.rawOffset) + s.rawSize);
                break;
            }
        res.m_resourceFileOffset = *offset;
        res.m_resourceBytes = end > *offset ? end - *offset : 0;
    }
    return res;
}

std::optional<uint64_t> PeResources::FileOffsetOfRva(uint64_t rva, uint64_t length) const
{
    for (const Section& s : m_sections) {
        if (rva < s.virtualAddress || rva - s.virtualAddress >= s.rawSize)
            continue;
        const uint64_t inSection = rva - s.virtualAddress;
        // Only what the file holds: the rest of the section is zeros in memory.
        if (length > s.rawSize - inSection || !m_file->Has(s.rawOffset + inSection, length))
            return std::nullopt;
        return s.rawOffset + inSection;
    }
    if (rva < m_sizeOfHeaders && length <= m_sizeOfHeaders - rva && m_file->Has(rva, length))
        return rva; // the headers are mapped as they are in the file
    return std::nullopt;
}

bool PeResources::ReadDirectoryBytes(uint64_t offset, std::span<uint8_t> out) const
{
    return offset <= m_resourceBytes && out.size() <= m_resourceBytes - offset &&
           m_file->ReadAt(m_resourceFileOffset + offset, out);
}

std::optional<PeResources::Directory> PeResources::ReadDirectory(uint32_t offset, size_t maxEntries) const
{
    std::array<uint8_t, kDirectoryHeaderSize> header {};
    if (!ReadDirectoryBytes(offset, header))
        return std::nullopt;
    const ByteView h(header);
    const size_t count = std::min<size_t>(size_t(h.U16(12)) + h.U16(14), maxEntries);
    std::vector<uint8_t> raw;
    const uint64_t rawSize = uint64_t(count) * kDirectoryEntrySize;
    if (rawSize > m_resourceBytes) // checked before allocating
        return std::nullopt;
    raw.resize(size_t(rawSize));
    if (!ReadDirectoryBytes(uint64_t(offset) + kDirectoryHeaderSize, raw))
        return std::nullopt;
    Directory dir {offset, {}};
    dir.entries.reserve(count);
    const ByteView e(raw);
    for (size_t i = 0; i < count; ++i)
        dir.entries.push_back({e.U32(i * kDirectoryEntrySize), e.U32(i * kDirectoryEntrySize + 4)});
    return dir;
}

std::optional<ResourceName> PeResources::NameOf(uint32_t nameField) const
{
    ResourceName name;
    if (!(nameField & kHighBit)) {
        name.id = uint16_t(nameField);
        return name;
    }
    const uint64_t at = nameField & ~kHighBit;
    std::array<uint8_t, 2> length {};
    if (!ReadDirectoryBytes(at, length))
        return std::nullopt;
    const size_t chars = ByteView(length).U16(0);
    if (chars > kMaxResourceNameChars)
        return std::nullopt;
    std::vector<uint8_t> raw(chars * 2);
    if (!ReadDirectoryBytes(at + 2, raw))
        return std::nullopt;
    name.isText = true;
    name.text.resize(chars);
    for (size_t i = 0; i < chars; ++i)
        name.text[i] = char16_t(raw[2 * i] | (raw[2 * i + 1] << 8));
    return name;
}

std::optional<PeResources::TypeIndex> PeResources::BuildIndex(uint16_t type) const
{
    TypeIndex index;
    if (m_resourceBytes == 0)
        return index;
    const auto root = ReadDirectory(0, kMaxEntriesPerDirectory);
    if (!root)
        return std::nullopt;
    const auto typeEntry = std::find_if(root->entries.begin(), root->entries.end(), [&](const Entry& e) {
        return !(e.name & kHighBit) && uint16_t(e.name) == type;
    });
    if (typeEntry == root->entries.end())
        return index;
    // Three levels and no more: a table that points back up is damage.
    index.offset = typeEntry->target & ~kHighBit;
    if (!(typeEntry->target & kHighBit) || index.offset == root->offset)
        return std::nullopt;
    const auto names = ReadDirectory(index.offset, kMaxEntriesPerDirectory);
    if (!names)
        return std::nullopt;
    size_t textChars = 0;
    for (const Entry& e : names->entries) {
        auto name = NameOf(e.name);
        if (!name)
            continue; // this one cannot be asked for; the others still can
        textChars += name->text.size();
        if (textChars > kMaxResourceNameCharsPerType)
            return std::nullopt;
        index.names.push_back(std::move(*name));
        index.targets.push_back(e.target);
    }
    index.byName.resize(index.names.size());
    for (uint32_t i = 0; i < index.byName.size(); ++i)
        index.byName[i] = i;
    std::stable_sort(index.byName.begin(), index.byName.end(),
                     [&](uint32_t a, uint32_t b) { return NameLess(index.names[a], index.names[b]); });
    return index;
}

const std::optional<PeResources::TypeIndex>& PeResources::IndexOf(uint16_t type) const
{
    auto found = m_indexes.find(type);
    if (found == m_indexes.end())
        found = m_indexes.emplace(type, BuildIndex(type)).first;
    return found->second;
}

std::optional<std::vector<ResourceName>> PeResources::Names(uint16_t type) const
{
    const auto& index = IndexOf(type);
    if (!index)
        return std::nullopt;
    return index->names;
}

std::optional<PeResources::Location> PeResources::Find(uint16_t type, const ResourceName& name) const
{
    const auto& index = IndexOf(type);
    if (!index)
        return std::nullopt;
    const auto at = std::lower_bound(index->byName.begin(), index->byName.end(), name,
                                     [&](uint32_t i, const ResourceName& n) { return NameLess(index->names[i], n); });
    if (at == index->byName.end() || !(index->names[*at] == name))
        return std::nullopt;
    return DataOf(index->targets[*at], index->offset);
}

std::optional<PeResources::Location> PeResources::DataOf(uint32_t target, uint32_t typeOffset) const
{
    const uint32_t languages = target & ~kHighBit;
    if (!(target & kHighBit) || languages == 0 || languages == typeOffset)
        return std::nullopt;
    // The first language: only that entry is read, however many the table claims.
    const auto dir = ReadDirectory(languages, 1);
    if (!dir || dir->entries.empty() || (dir->entries[0].target & kHighBit))
        return std::nullopt;
    std::array<uint8_t, kDataEntrySize> data {};
    if (!ReadDirectoryBytes(dir->entries[0].target, data))
        return std::nullopt;
    const ByteView d(data);
    const uint32_t size = d.U32(4);
    if (size > kMaxResourceBytes)
        return std::nullopt;
    const auto offset = FileOffsetOfRva(d.U32(0), size);
    if (!offset)
        return std::nullopt;
    return Location {*offset, size};
}

} // namespace vistrel
