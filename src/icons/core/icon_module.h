#pragma once
// The icon groups of a module (EXE, DLL and other PE32 or PE32+ files with
// resources). A group resource (type 14) lists its images, each an icon resource
// (type 3) found by its number. The module is only read, as data.
//
// A module object reads the file as it is asked; open one per file and ask it for
// every group, rather than reopening the file per group. Not thread-safe: one
// thread at a time per object.

#include "icons/core/byte_source.h"
#include "icons/core/icon_resource.h"
#include "icons/core/pe_resources.h"

#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace vistrel {

// A group's name: a number, or a text.
using IconGroupName = ResourceName;

class IconModule {
public:
    // nullopt when the file is not a loadable 32-bit module: not a PE32 or PE32+
    // file (a 16-bit NE module, a DOS program, an .ico, anything else), or
    // unreadable. unreadable, when given, then tells the two apart: set when the
    // file could not be opened at all (missing, no permission, not a regular
    // file), with errno saying why.
    static std::optional<IconModule> Open(const std::string& path, bool* unreadable = nullptr);
    // The same over bytes that the caller keeps alive.
    static std::optional<IconModule> FromBytes(std::span<const uint8_t> bytes);

    const std::string& Path() const { return m_path; }

    // The group names in directory order; empty when there are none or the
    // resource directory is damaged.
    std::vector<IconGroupName> Groups() const;

    // One group with all its images; nullopt when the group or any of its images
    // cannot be read, when images overlap, or when this module has already given
    // out several times its own size in images and image lists (a file whose
    // groups all share the same large images or lists could otherwise keep a
    // reader busy for hours).
    std::optional<IconResource> ReadGroup(const IconGroupName& name);

private:
    IconModule(std::unique_ptr<ByteSource> source, std::string path);

    std::unique_ptr<ByteSource> m_source;
    std::optional<PeResources> m_resources; // reads *m_source
    std::string m_path;
    uint64_t m_bytesLeft = 0;
};

// Opens the module, reads one group and lets the module go. A group numbered 0
// fails.
std::optional<IconResource> ReadIconFromModule(const std::string& modulePath, const IconGroupName& groupName);

} // namespace vistrel
