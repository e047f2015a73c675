#include "icons/core/icon_naming.h"

#include "base/new_file.h"
#include "base/path_names.h"

#include <cstdio>
#include <string_view>

namespace vistrel {

std::string GroupLabel(const IconGroupName& name)
{
    return "Icon [" + (name.isText ? Utf8FromUtf16(name.text) : std::to_string(name.id)) + "]";
}

std::string SaveAllFileName(const std::string& folder, const std::string& sourcePath, const std::string& label)
{
    const std::string fileName(FileNameOfPath(sourcePath));
    std::string name = fileName.substr(0, fileName.find('.'));
    constexpr std::string_view removed = "[] Icon";
    for (char c : label) {
        if (removed.find(c) != std::string_view::npos)
            continue;
        name += c == '/' || c == '\0' ? '_' : c;
    }
    return folder + "/" + name + ".ico";
}

std::string SaveAllNames::Next(const std::string& sourcePath, const std::string& label)
{
    const std::string first = SaveAllFileName(m_folder, sourcePath, label);
    const std::string stem = first.substr(0, first.size() - 4); // without ".ico"
    std::string name = first;
    for (uint32_t index = 1; !m_given.insert(name).second; ++index)
        name = SuffixedName(stem, ".ico", index);
    return name;
}

std::string SearchModuleIconName(const std::string& targetFolder, const std::string& fileName, size_t index)
{
    const size_t dot = fileName.rfind('.');
    char number[24];
    std::snprintf(number, sizeof number, "%03zu", index + 1);
    return targetFolder + "/" + fileName.substr(0, dot) + number + ".ico";
}

std::string NotLoadableMessage(const std::string& path)
{
    return path + " Load file error,it must be win32 file";
}

std::string NoIconMessage(const std::string& path)
{
    return "There is no icon in file " + path;
}

} // namespace vistrel
