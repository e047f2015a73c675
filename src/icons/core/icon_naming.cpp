#include "icons/core/icon_naming.h"

#include "i18n/text_encoding.h"

#include <cstdio>
#include <string_view>

namespace vistrel {

namespace {


} // namespace

std::string Utf8FromUtf16(const std::u16string& text)
{
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000)
            c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
        else if (c >= 0xD800 && c < 0xE000)
            c = 0xFFFD;
        AppendUtf8(out, c);
    }
    return out;
}

std::string GroupLabel(const IconGroupName& name)
{
    return "Icon [" + (name.isText ? Utf8FromUtf16(name.text) : std::to_string(name.id)) + "]";
}

std::string FileNameOf(const std::string& path)
{
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string SaveAllFileName(const std::string& folder, const std::string& sourcePath, const std::string& label)
{
    const std::string fileName = FileNameOf(sourcePath);
    std::string name = fileName.substr(0, fileName.find('.'));
    constexpr std::string_view removed = "[] Icon";
    for (char c : label) {
        if (removed.find(c) != std::string_view::npos)
            continue;
        name += c == '/' || c == '\0' ? '_' : c;
    }
    return folder + "/" + name + ".ico";
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
