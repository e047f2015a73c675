#pragma once
// Desktop entries (.desktop files) as far as starting a program needs them:
// the Name and Exec keys of the [Desktop Entry] group, the Exec line split into
// an argument vector by its quoting rules, its field codes filled, the entry
// file of a desktop id, and the desktop's default application for a MIME type.
// Also the command of a configured outside tool, which is either a program's
// path (as the Options pages add them; blanks and all) or an Exec line (as the
// defaults from the desktop's entries are). Nothing here goes through a shell.
// Readers report, never trust: a damaged file or line gives nullopt. Any
// thread; DefaultApplicationFor waits for xdg-mime up to its time limit.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vistrel {

inline constexpr int kDesktopQueryLimitMs = 3000;

struct DesktopEntry {
    std::string name; // the untranslated Name
    std::string exec; // with the file's string escapes (\s \n \t \r \\) undone
};

// The entry in a file's text; nullopt without a Name or an Exec, or when the
// entry is hidden or not an application.
std::optional<DesktopEntry> ParseDesktopEntry(std::string_view text);

struct ExecWord {
    std::string text;
    bool quoted = false; // the whole word was written in double quotes
    bool operator==(const ExecWord&) const = default;
};

// Splits an Exec line: words separated by blanks; a word in double quotes
// keeps its blanks, with \" \` \$ \\ as escapes inside. nullopt for an open
// quote or a line without words.
std::optional<std::vector<ExecWord>> SplitExecLine(std::string_view exec);

// The words with their field codes filled: the first of %f %F %u %U becomes
// the file (%u and %U as a file URI would only confuse programs that take
// paths, so the path), %% a '%', the other codes (%i %c %k, later file codes,
// the deprecated ones) are dropped, and so is a word that was nothing but
// dropped codes. When no code takes the file, it goes at the end.
std::vector<std::string> FillExecFields(const std::vector<ExecWord>& words, const std::string& file);

// For a handler that takes its argument in place of one placeholder word: value
// replaces the first word that is a file field code alone, a quoted one
// ("%u") before a bare one, and the words after it are dropped; the earlier
// words lose their field codes as above. Without such a word, value goes at
// the end.
std::vector<std::string> FillExecPlaceholder(const std::vector<ExecWord>& words, const std::string& value);

// The argument vector that runs a configured tool on file. A command naming an
// executable file is that program alone, whatever blanks its path holds;
// otherwise it is an Exec line. nullopt for an empty or unreadable command.
std::optional<std::vector<std::string>> ToolArguments(const std::string& command, const std::string& file);

// Starts a configured tool on file, detached; false when it could not be started.
bool StartToolOn(const std::string& command, const std::string& file);

// Where a desktop id ("firefox.desktop", "kde4-kate.desktop") may be, first
// one first: applications/ under dataHome, then under each folder of dataDirs
// (':'-separated; the XDG default when empty), each also with the id's '-'
// standing for sub-folders (kde4/kate.desktop). Empty for an id that is not a
// plain *.desktop name.
std::vector<std::string> DesktopEntryPaths(std::string_view desktopId, const std::string& dataHome,
                                           std::string_view dataDirs);

// The first of DesktopEntryPaths that is a file, from $XDG_DATA_HOME (or
// ~/.local/share) and $XDG_DATA_DIRS; empty when none exists.
std::string FindDesktopFile(std::string_view desktopId);

// The entry of a desktop id, read from its file; nullopt when there is none,
// it cannot be read or it is not a usable application.
std::optional<DesktopEntry> LoadDesktopEntry(std::string_view desktopId);

// The desktop's default application for a MIME type (`xdg-mime query
// default`), read from its entry; nullopt when there is none or it cannot be
// read.
std::optional<DesktopEntry> DefaultApplicationFor(const std::string& mimeType,
                                                  int timeLimitMs = kDesktopQueryLimitMs);

} // namespace vistrel
