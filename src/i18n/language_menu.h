#pragma once
// The "&Language" submenu of the Tools menu as plain data: one item per
// language file, named by the file's own "Language" entry, and the choice of a
// file by its command.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vistrel {

constexpr uint32_t ID_LANGUAGE_FIRST = 50500;
constexpr uint32_t ID_LANGUAGE_LAST = 51000;

struct LanguageMenuItem {
    uint32_t command; // ID_LANGUAGE_FIRST + index into the file list
    std::string name; // the file's [Language] Language=, or "Language"
    bool checked;
};

// One item per file in list order (reading each file), at most as many as
// there are command ids. The item of the chosen file is checked: the one with
// exactly its path, else the first whose path matches it without regard to
// case; at most one item.
std::vector<LanguageMenuItem> BuildLanguageMenu(const std::vector<std::string>& files,
                                                const std::string& chosenFile);

// The file a language command chooses; nullopt when the command is outside the
// range or past the end of the list (nothing happens then).
std::optional<std::string> LanguageFileForCommand(uint32_t command, const std::vector<std::string>& files);

} // namespace vistrel
