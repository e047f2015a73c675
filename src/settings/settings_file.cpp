#include "settings/settings_file.h"

#include "base/text_encoding.h"

#include "settings/settings_fields.h"

#include <iterator>
#include <optional>
#include <string_view>

namespace vistrel {

namespace {

constexpr std::string_view kSignature = "config";

class ByteWriter {
public:
    void U8(uint8_t v) { m_bytes.push_back(v); }
    void U16(uint16_t v)
    {
        U8(uint8_t(v));
        U8(uint8_t(v >> 8));
    }
    void U32(uint32_t v)
    {
        U16(uint16_t(v));
        U16(uint16_t(v >> 16));
    }
    void String(std::string_view s)
    {
        if (s.size() < 0xFF) {
            U8(uint8_t(s.size()));
        } else if (s.size() < 0xFFFE) {
            U8(0xFF);
            U16(uint16_t(s.size()));
        } else {
            U8(0xFF);
            U16(0xFFFF);
            U32(uint32_t(s.size()));
        }
        m_bytes.insert(m_bytes.end(), s.begin(), s.end());
    }
    std::vector<uint8_t> Take() { return std::move(m_bytes); }

private:
    std::vector<uint8_t> m_bytes;
};

class ByteReader {
public:
    explicit ByteReader(std::span<const uint8_t> data) : m_data(data) {}

    size_t remaining() const { return m_data.size() - m_pos; }

    std::optional<uint8_t> U8()
    {
        if (remaining() < 1)
            return std::nullopt;
        return m_data[m_pos++];
    }
    std::optional<uint16_t> U16()
    {
        if (remaining() < 2)
            return std::nullopt;
        uint16_t v = uint16_t(m_data[m_pos] | (m_data[m_pos + 1] << 8));
        m_pos += 2;
        return v;
    }
    std::optional<uint32_t> U32()
    {
        if (remaining() < 4)
            return std::nullopt;
        uint32_t v = uint32_t(m_data[m_pos]) | uint32_t(m_data[m_pos + 1]) << 8 |
                     uint32_t(m_data[m_pos + 2]) << 16 | uint32_t(m_data[m_pos + 3]) << 24;
        m_pos += 4;
        return v;
    }

    // A length prefix: 1 byte; 0xFF + 16 bits; 0xFF FFFF + 32 bits. The 16-bit
    // value 0xFFFE marks a string of 16-bit characters, whose own prefix follows.
    std::optional<std::string> String()
    {
        bool wide = false;
        auto length = Length(wide);
        if (length && *length == kWideMarker && !wide) {
            wide = true;
            length = Length(wide);
        }
        if (!length || *length == kWideMarker)
            return std::nullopt;
        uint64_t bytes = wide ? uint64_t(*length) * 2 : *length;
        if (bytes > remaining())
            return std::nullopt;
        std::span<const uint8_t> text = m_data.subspan(m_pos, size_t(bytes));
        m_pos += size_t(bytes);
        if (!wide)
            return std::string(text.begin(), text.end());
        return Utf8FromUtf16(text, false);
    }

private:
    static constexpr uint32_t kWideMarker = 0xFFFFFFFEu;

    std::optional<uint32_t> Length(bool /*wide*/)
    {
        auto b = U8();
        if (!b)
            return std::nullopt;
        if (*b < 0xFF)
            return *b;
        auto w = U16();
        if (!w)
            return std::nullopt;
        if (*w == 0xFFFE)
            return kWideMarker;
        if (*w < 0xFFFF)
            return *w;
        return U32();
    }

    std::span<const uint8_t> m_data;
    size_t m_pos = 0;
};

// Reads one field; false when the data ran out or held an impossible length.
// A value that is not valid for its field is read past and not stored.
bool ReadField(ByteReader& in, const SettingsField& field, CEnv& env, std::string& languageFile,
               SettingsReadResult& result)
{
    switch (field.kind) {
    case FieldKind::Folder: {
        auto s = in.String();
        if (!s)
            return false;
        // An empty folder is how the file says "the default folder".
        if (auto folder = ValidFolder(*s))
            env.*std::get<std::string CEnv::*>(field.member) = std::move(*folder);
        return true;
    }
    case FieldKind::NamePart: {
        auto s = in.String();
        if (!s)
            return false;
        if (IsValidNamePart(*s))
            env.*std::get<std::string CEnv::*>(field.member) = std::move(*s);
        return true;
    }
    case FieldKind::LanguageFile: {
        auto s = in.String();
        if (!s)
            return false;
        languageFile = std::move(*s);
        return true;
    }
    case FieldKind::Color: {
        auto v = in.U32();
        if (!v)
            return false;
        if (IsValidColor(*v))
            env.*std::get<uint32_t CEnv::*>(field.member) = *v;
        return true;
    }
    case FieldKind::Hotkey: {
        auto mods = in.U32();
        auto key = in.U32();
        if (!mods || !key)
            return false;
        if (IsValidHotkey({*mods, *key}))
            env.*std::get<HotkeySetting CEnv::*>(field.member) = {*mods, *key};
        return true;
    }
    case FieldKind::Flag: {
        auto v = in.U32();
        if (!v)
            return false;
        if (IsValidFlag(int32_t(*v)))
            env.*std::get<int32_t CEnv::*>(field.member) = int32_t(*v);
        return true;
    }
    case FieldKind::CaptureType: {
        // Every stored value decodes to a valid type; unknown ones to bitmap.
        auto v = in.U32();
        if (!v)
            return false;
        env.*std::get<int32_t CEnv::*>(field.member) = DecodeCaptureType(int32_t(*v));
        return true;
    }
    case FieldKind::Number16: {
        auto v = in.U16();
        if (!v)
            return false;
        env.*std::get<int16_t CEnv::*>(field.member) = int16_t(*v);
        return true;
    }
    case FieldKind::ToolList: {
        auto count = in.U32();
        if (!count)
            return false;
        auto& list = env.*std::get<std::vector<ToolEntry> CEnv::*>(field.member);
        int32_t n = int32_t(*count);
        if (n == 0)
            result.defaultToolWanted.push_back(&field);
        // Each entry takes at least 6 bytes: a larger count is damage, and reading
        // on would turn the fields behind it into bogus entries.
        if (n > 0 && uint64_t(n) * 6 > in.remaining())
            return false;
        // Appended only once the whole list is read, like every other field.
        std::vector<ToolEntry> entries;
        for (int32_t i = 0; i < n; ++i) {
            auto isDefault = in.U32();
            if (!isDefault)
                return false;
            auto name = in.String();
            if (!name)
                return false;
            auto command = in.String();
            if (!command)
                return false;
            entries.push_back({std::move(*name), std::move(*command), int32_t(*isDefault)});
        }
        list.insert(list.end(), std::make_move_iterator(entries.begin()), std::make_move_iterator(entries.end()));
        return true;
    }
    }
    return false;
}

} // namespace

std::vector<uint8_t> SerializeSettings(const CEnv& env, const std::string& languageFile)
{
    ByteWriter out;
    out.String(kSignature);
    for (const auto& field : SettingsFields()) {
        switch (field.kind) {
        case FieldKind::Folder:
        case FieldKind::NamePart:
            out.String(env.*std::get<std::string CEnv::*>(field.member));
            break;
        case FieldKind::LanguageFile:
            out.String(languageFile);
            break;
        case FieldKind::Color:
            out.U32(env.*std::get<uint32_t CEnv::*>(field.member));
            break;
        case FieldKind::Hotkey: {
            const HotkeySetting& hk = env.*std::get<HotkeySetting CEnv::*>(field.member);
            out.U32(hk.modifiers);
            out.U32(hk.virtualKey);
            break;
        }
        case FieldKind::Flag:
            out.U32(uint32_t(env.*std::get<int32_t CEnv::*>(field.member)));
            break;
        case FieldKind::CaptureType:
            out.U32(uint32_t(EncodeCaptureType(env.*std::get<int32_t CEnv::*>(field.member))));
            break;
        case FieldKind::Number16:
            out.U16(uint16_t(env.*std::get<int16_t CEnv::*>(field.member)));
            break;
        case FieldKind::ToolList: {
            const auto& list = env.*std::get<std::vector<ToolEntry> CEnv::*>(field.member);
            out.U32(uint32_t(list.size()));
            for (const auto& tool : list) {
                out.U32(uint32_t(tool.isDefault));
                out.String(tool.name);
                out.String(tool.command);
            }
            break;
        }
        }
    }
    return out.Take();
}

SettingsReadResult DeserializeSettings(std::span<const uint8_t> data, CEnv& env,
                                       std::string& languageFile)
{
    SettingsReadResult result;
    ByteReader in(data);
    auto signature = in.String();
    if (!signature || *signature != kSignature) {
        result.error = "not a settings file";
        return result;
    }
    result.signatureMatched = true;
    for (const auto& field : SettingsFields()) {
        if (!ReadField(in, field, env, languageFile, result)) {
            result.error = "the file ends or is damaged at " + std::string(field.name);
            return result;
        }
    }
    result.complete = true;
    return result;
}

} // namespace vistrel
