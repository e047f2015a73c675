#include "settings/settings_fields.h"

#include "base/text_encoding.h"

#include "settings/folders.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <cstdio>

namespace vistrel {

namespace {

constexpr std::array kFields = {
    SettingsField{"m_strBitmapPath", FieldKind::Folder, &CEnv::m_strBitmapPath},
    SettingsField{"m_strAviPath", FieldKind::Folder, &CEnv::m_strAviPath},
    SettingsField{"m_strIconPath", FieldKind::Folder, &CEnv::m_strIconPath},
    SettingsField{"m_crBitmapBack", FieldKind::Color, &CEnv::m_crBitmapBack},
    SettingsField{"m_crPreviewBack", FieldKind::Color, &CEnv::m_crPreviewBack},
    SettingsField{"m_hkRectangle", FieldKind::Hotkey, &CEnv::m_hkRectangle},
    SettingsField{"m_hkCircle", FieldKind::Hotkey, &CEnv::m_hkCircle},
    SettingsField{"m_hkEllipse", FieldKind::Hotkey, &CEnv::m_hkEllipse},
    SettingsField{"m_hkFullScreen", FieldKind::Hotkey, &CEnv::m_hkFullScreen},
    SettingsField{"m_hkPolygon", FieldKind::Hotkey, &CEnv::m_hkPolygon},
    SettingsField{"m_hkObject", FieldKind::Hotkey, &CEnv::m_hkObject},
    SettingsField{"m_hkAvi", FieldKind::Hotkey, &CEnv::m_hkAvi},
    SettingsField{"m_hkTimer", FieldKind::Hotkey, &CEnv::m_hkTimer},
    SettingsField{"m_bAutorun", FieldKind::Flag, &CEnv::m_bAutorun},
    SettingsField{"m_bAutoSaveOnExit", FieldKind::Flag, &CEnv::m_bAutoSaveOnExit},
    SettingsField{"m_bReserved2", FieldKind::Flag, &CEnv::m_bReserved2},
    SettingsField{"m_bHideSelf", FieldKind::Flag, &CEnv::m_bHideSelf},
    SettingsField{"m_bShowMagnifier", FieldKind::Flag, &CEnv::m_bShowMagnifier},
    SettingsField{"m_bReserved3", FieldKind::Flag, &CEnv::m_bReserved3},
    SettingsField{"m_bShowReminder", FieldKind::Flag, &CEnv::m_bShowReminder},
    SettingsField{"m_bReserved1", FieldKind::Flag, &CEnv::m_bReserved1},
    SettingsField{"m_bBitmapNameByTime", FieldKind::Flag, &CEnv::m_bBitmapNameByTime},
    SettingsField{"m_nBitmapNumber", FieldKind::Number16, &CEnv::m_nBitmapNumber},
    SettingsField{"m_strBitmapName", FieldKind::NamePart, &CEnv::m_strBitmapName},
    SettingsField{"m_strBitmapSuffix", FieldKind::NamePart, &CEnv::m_strBitmapSuffix},
    SettingsField{"m_bAviNameByTime", FieldKind::Flag, &CEnv::m_bAviNameByTime},
    SettingsField{"m_nAviNumber", FieldKind::Number16, &CEnv::m_nAviNumber},
    SettingsField{"m_strAviName", FieldKind::NamePart, &CEnv::m_strAviName},
    SettingsField{"m_strAviSuffix", FieldKind::NamePart, &CEnv::m_strAviSuffix},
    SettingsField{"m_bitmapTools", FieldKind::ToolList, &CEnv::m_bitmapTools},
    SettingsField{"m_aviTools", FieldKind::ToolList, &CEnv::m_aviTools},
    SettingsField{"m_nCaptureType", FieldKind::CaptureType, &CEnv::m_nCaptureType},
    SettingsField{"g_strLanguageFile", FieldKind::LanguageFile, std::monostate{}},
};

// Record type -> file value; the file keeps a permutation of the type numbers.
constexpr std::array<int32_t, 6> kStoredType = {0, 4, 3, 5, 1, 2};

bool HasControlCharacter(std::string_view text)
{
    return std::any_of(text.begin(), text.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte < 0x20 || byte == 0x7F;
    });
}


void AppendJsonString(std::string& out, std::string_view s)
{
    out += '"';
    for (size_t i = 0; i < s.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (c < 0x20) {
                char buf[8];
                std::snprintf(buf, sizeof buf, "\\u%04x", c);
                out += buf;
            } else if (c < 0x80) {
                out += char(c);
            } else if (size_t n = Utf8SequenceAt(s.substr(i)); n > 0) {
                out.append(s.substr(i, n)); // valid UTF-8 passes through
                i += n - 1;
            } else {
                // A byte of another code page: shown as the Latin-1 character.
                char buf[8];
                std::snprintf(buf, sizeof buf, "\\u%04x", c);
                out += buf;
            }
        }
    }
    out += '"';
}

std::optional<int64_t> ParseInteger(std::string_view text)
{
    bool negative = false;
    if (!text.empty() && (text[0] == '-' || text[0] == '+')) {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    }
    if (text.empty() || text.size() > 18 || text[0] == '-' || text[0] == '+')
        return std::nullopt;
    int64_t value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (ec != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return negative ? -value : value;
}

std::optional<int64_t> ParseInRange(std::string_view text, int64_t lo, int64_t hi)
{
    auto v = ParseInteger(text);
    if (!v || *v < lo || *v > hi)
        return std::nullopt;
    return v;
}

} // namespace

std::span<const SettingsField> SettingsFields() { return kFields; }

const SettingsField* FindSettingsField(std::string_view name)
{
    for (const auto& f : kFields)
        if (f.name == name)
            return &f;
    return nullptr;
}

std::optional<std::string> ValidFolder(std::string_view text)
{
    std::string folder = TrimBlanks(text);
    if (folder.empty() || folder.front() != '/' || HasControlCharacter(folder))
        return std::nullopt;
    return folder;
}

bool IsValidNamePart(std::string_view text)
{
    return text.find('/') == std::string_view::npos && !HasControlCharacter(text);
}

bool IsValidColor(uint32_t color) { return color <= 0xFFFFFF; }

bool IsValidHotkey(HotkeySetting key)
{
    return key.modifiers <= (MOD_ALT | MOD_CONTROL | MOD_SHIFT) && key.virtualKey <= 0xFF;
}

bool IsValidFlag(int32_t value) { return value == 0 || value == 1; }

bool IsValidCaptureType(int32_t type) { return type >= 0 && type <= 5; }

int32_t EncodeCaptureType(int32_t imageType)
{
    return imageType >= 0 && imageType < int32_t(kStoredType.size()) ? kStoredType[size_t(imageType)] : 0;
}

int32_t DecodeCaptureType(int32_t stored)
{
    for (size_t type = 0; type < kStoredType.size(); ++type)
        if (kStoredType[type] == stored)
            return int32_t(type);
    return 0;
}

std::string SettingsToJson(const CEnv& env, const std::string& languageFile,
                           const std::vector<std::string>& languageFiles)
{
    std::string out = "{";
    bool first = true;
    for (const auto& field : kFields) {
        out += first ? "\n  " : ",\n  ";
        first = false;
        AppendJsonString(out, field.name);
        out += ": ";
        switch (field.kind) {
        case FieldKind::Folder:
        case FieldKind::NamePart:
            AppendJsonString(out, env.*std::get<std::string CEnv::*>(field.member));
            break;
        case FieldKind::Color:
            out += std::to_string(env.*std::get<uint32_t CEnv::*>(field.member));
            break;
        case FieldKind::Hotkey: {
            const HotkeySetting& hk = env.*std::get<HotkeySetting CEnv::*>(field.member);
            out += "{\"modifiers\": " + std::to_string(hk.modifiers) +
                   ", \"virtualKey\": " + std::to_string(hk.virtualKey) + "}";
            break;
        }
        case FieldKind::Flag:
        case FieldKind::CaptureType:
            out += std::to_string(env.*std::get<int32_t CEnv::*>(field.member));
            break;
        case FieldKind::Number16:
            out += std::to_string(env.*std::get<int16_t CEnv::*>(field.member));
            break;
        case FieldKind::ToolList: {
            out += "[";
            bool firstTool = true;
            for (const auto& tool : env.*std::get<std::vector<ToolEntry> CEnv::*>(field.member)) {
                out += firstTool ? "" : ", ";
                firstTool = false;
                out += "{\"name\": ";
                AppendJsonString(out, tool.name);
                out += ", \"command\": ";
                AppendJsonString(out, tool.command);
                out += ", \"isDefault\": " + std::to_string(tool.isDefault) + "}";
            }
            out += "]";
            break;
        }
        case FieldKind::LanguageFile:
            AppendJsonString(out, languageFile);
            break;
        }
    }
    out += ",\n  \"g_languageFiles\": [";
    for (size_t i = 0; i < languageFiles.size(); ++i) {
        if (i)
            out += ", ";
        AppendJsonString(out, languageFiles[i]);
    }
    out += "]\n}\n";
    return out;
}

std::optional<std::string> SetSettingsField(CEnv& env, std::string& languageFile,
                                            std::string_view assignment)
{
    auto eq = assignment.find('=');
    if (eq == std::string_view::npos)
        return "expected FIELD=VALUE, got \"" + std::string(assignment) + "\"";
    std::string_view name = assignment.substr(0, eq);
    std::string_view value = assignment.substr(eq + 1);
    const SettingsField* field = FindSettingsField(name);
    if (!field)
        return "unknown settings field \"" + std::string(name) + "\"";
    auto refuse = [&](std::string_view expected) {
        return std::optional<std::string>("value \"" + std::string(value) + "\" does not fit " +
                                          std::string(name) + " (expected " + std::string(expected) + ")");
    };
    switch (field->kind) {
    case FieldKind::Folder: {
        auto folder = ValidFolder(value);
        if (!folder)
            return refuse("an absolute folder such as /home/me/Pictures");
        env.*std::get<std::string CEnv::*>(field->member) = std::move(*folder);
        return std::nullopt;
    }
    case FieldKind::NamePart:
        if (!IsValidNamePart(value))
            return refuse("a name without '/' or control characters");
        env.*std::get<std::string CEnv::*>(field->member) = std::string(value);
        return std::nullopt;
    case FieldKind::LanguageFile:
        languageFile = std::string(value);
        return std::nullopt;
    case FieldKind::Color: {
        auto v = ParseInRange(value, 0, UINT32_MAX);
        if (!v || !IsValidColor(uint32_t(*v)))
            return refuse("a colour 0 to 0xFFFFFF, red in the low byte");
        env.*std::get<uint32_t CEnv::*>(field->member) = uint32_t(*v);
        return std::nullopt;
    }
    case FieldKind::Flag: {
        auto v = ParseInRange(value, INT32_MIN, INT32_MAX);
        if (!v || !IsValidFlag(int32_t(*v)))
            return refuse("0 or 1");
        env.*std::get<int32_t CEnv::*>(field->member) = int32_t(*v);
        return std::nullopt;
    }
    case FieldKind::CaptureType: {
        auto v = ParseInRange(value, INT32_MIN, INT32_MAX);
        if (!v || !IsValidCaptureType(int32_t(*v)))
            return refuse("an image type 0 to 5");
        env.*std::get<int32_t CEnv::*>(field->member) = int32_t(*v);
        return std::nullopt;
    }
    case FieldKind::Number16: {
        // The next file number; names go on from 0 to 32767.
        auto v = ParseInRange(value, 0, INT16_MAX);
        if (!v)
            return refuse("a number 0 to 32767");
        env.*std::get<int16_t CEnv::*>(field->member) = int16_t(*v);
        return std::nullopt;
    }
    case FieldKind::Hotkey: {
        auto comma = value.find(',');
        std::optional<int64_t> mods, key;
        if (comma != std::string_view::npos) {
            mods = ParseInRange(value.substr(0, comma), 0, UINT32_MAX);
            key = ParseInRange(value.substr(comma + 1), 0, UINT32_MAX);
        }
        if (!mods || !key || !IsValidHotkey({uint32_t(*mods), uint32_t(*key)}))
            return refuse("MODIFIERS,VIRTUALKEY with modifiers 0 to 7 (1 Alt, 2 Ctrl, 4 Shift) and a key 0 to 255");
        env.*std::get<HotkeySetting CEnv::*>(field->member) = {uint32_t(*mods), uint32_t(*key)};
        return std::nullopt;
    }
    case FieldKind::ToolList:
        return "the tool list " + std::string(name) + " cannot be set from the command line";
    }
    return "unknown settings field \"" + std::string(name) + "\"";
}

} // namespace vistrel
