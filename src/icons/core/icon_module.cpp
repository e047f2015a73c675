#include "icons/core/icon_module.h"

#include "codec/byte_view.h"

#include <algorithm>

namespace vistrel {

namespace {

constexpr size_t kGroupHeaderSize = 6;
constexpr size_t kGroupEntrySize = 14;
// What a module may give out in all: this many times its size, plus a little.
constexpr uint64_t kBytesOutPerByteIn = 4;
constexpr uint64_t kBytesOutExtra = uint64_t(64) << 20;

} // namespace

IconModule::IconModule(std::unique_ptr<ByteSource> source, std::string path)
    : m_source(std::move(source)), m_resources(PeResources::Open(*m_source)), m_path(std::move(path)),
      m_bytesLeft(m_source->Size() * kBytesOutPerByteIn + kBytesOutExtra)
{
}

std::optional<IconModule> IconModule::Open(const std::string& path, bool* unreadable)
{
    auto source = OpenFileSource(path);
    if (unreadable)
        *unreadable = !source;
    if (!source)
        return std::nullopt;
    IconModule module(std::move(source), path);
    if (!module.m_resources)
        return std::nullopt;
    return module;
}

std::optional<IconModule> IconModule::FromBytes(std::span<const uint8_t> bytes)
{
    IconModule module(MemorySource(bytes), {});
    if (!module.m_resources)
        return std::nullopt;
    return module;
}

std::vector<IconGroupName> IconModule::Groups() const
{
    return m_resources->Names(kResourceTypeGroupIcon).value_or(std::vector<IconGroupName>());
}

std::optional<IconResource> IconModule::ReadGroup(const IconGroupName& name)
{
    if (!name.isText && name.id == 0)
        return std::nullopt;
    const auto group = m_resources->Find(kResourceTypeGroupIcon, name);
    if (!group || group->size < kGroupHeaderSize)
        return std::nullopt;
    const auto header = m_source->Read(group->fileOffset, kGroupHeaderSize);
    if (!header)
        return std::nullopt;
    const size_t count = ByteView(*header).U16(4);
    if (kGroupHeaderSize + count * kGroupEntrySize > group->size || count * kGroupEntrySize > m_bytesLeft)
        return std::nullopt;
    // The list counts too: many groups sharing one long list would otherwise
    // cost a full round of look-ups each.
    m_bytesLeft -= count * kGroupEntrySize;
    const auto entries = m_source->Read(group->fileOffset + kGroupHeaderSize, count * kGroupEntrySize);
    if (!entries)
        return std::nullopt;

    // Where every image lies, checked before any is read: all in the file and
    // none overlapping another, so a group is never larger than its file.
    std::vector<PeResources::Location> images;
    images.reserve(count);
    for (size_t i = 0; i < count; ++i) {
        const uint16_t id = ByteView(*entries).U16(i * kGroupEntrySize + 12);
        const auto image = m_resources->Find(kResourceTypeIcon, IconGroupName {false, id, {}});
        if (!image)
            return std::nullopt;
        images.push_back(*image);
    }
    auto sorted = images;
    std::sort(sorted.begin(), sorted.end(),
              [](const auto& a, const auto& b) { return a.fileOffset < b.fileOffset; });
    uint64_t total = 0;
    for (size_t i = 0; i < sorted.size(); ++i) {
        if (i > 0 && sorted[i - 1].fileOffset + sorted[i - 1].size > sorted[i].fileOffset)
            return std::nullopt;
        total += sorted[i].size;
    }
    if (total > m_bytesLeft)
        return std::nullopt;
    m_bytesLeft -= total;

    IconResource icon;
    icon.moduleFileName = m_path;
    icon.images.reserve(count);
    for (const auto& location : images) {
        auto bytes = m_source->Read(location.fileOffset, location.size);
        if (!bytes)
            return std::nullopt;
        auto image = MakeIconImage(std::move(*bytes));
        if (!image)
            return std::nullopt;
        icon.images.push_back(std::move(*image));
    }
    return icon;
}

std::optional<IconResource> ReadIconFromModule(const std::string& modulePath, const IconGroupName& groupName)
{
    if (!groupName.isText && groupName.id == 0)
        return std::nullopt;
    auto module = IconModule::Open(modulePath);
    if (!module)
        return std::nullopt;
    return module->ReadGroup(groupName);
}

} // namespace vistrel
