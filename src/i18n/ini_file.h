#pragma once
// Language files are Windows INI files, read by the rules of the platform's
// profile functions: "[Section]" lines open sections, "key=value" lines give
// values; sections and keys match without regard to case; blanks around keys and
// values are dropped and a value wrapped in one pair of quotes loses them; only
// the first section of a name counts, and in it the first line of a key; lines
// starting with ';' are comments. Values are cut to 4095 bytes.
//
// The reader reports, never trusts: any bytes give a file (perhaps empty), every
// text it hands out is UTF-8 without NUL or line breaks, and files are read only
// up to a fixed size.

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace vistrel {

// A language file holds a few hundred short lines; anything near this is not one.
constexpr size_t kMaxLanguageFileBytes = size_t(4) << 20;
// The platform hands a value out through a buffer of 4096 characters.
constexpr size_t kMaxIniValueBytes = 4095;

class IniFile {
public:
    struct Entry {
        std::string section;
        std::string key;
        std::string value;
    };

    // The value of key in section; nullopt when the file has no such line.
    std::optional<std::string_view> Find(std::string_view section, std::string_view key) const;
    // GetPrivateProfileString: the value when the line exists (even if empty),
    // otherwise fallback.
    std::string Get(std::string_view section, std::string_view key, std::string_view fallback) const;

    // The lines that count, in file order (later duplicates are not here).
    const std::vector<Entry>& entries() const { return m_entries; }
    bool empty() const { return m_entries.empty(); }

    // Parses decoded UTF-8 text; see DecodeText for bytes.
    static IniFile Parse(std::string_view text);

private:
    std::vector<Entry> m_entries;
    std::unordered_map<std::string, size_t> m_index; // folded "section\nkey"
};

// Any bytes: decoded (byte order marks, UTF-8, else Windows-1252), then parsed.
IniFile ParseIniBytes(std::span<const unsigned char> bytes, bool* legacyEncoding = nullptr);

struct IniReadResult {
    IniFile file;               // empty when the file could not be read
    std::string error;          // why not; empty when it was read
    bool legacyEncoding = false; // the bytes were not UTF-8 and were read as Windows-1252
};

// Reads a regular file of at most kMaxLanguageFileBytes. Never blocks on a pipe
// or device that happens to carry the name.
IniReadResult ReadIniFile(const std::string& path);

} // namespace vistrel
