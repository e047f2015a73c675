#pragma once
// Desktop entries (.desktop files) as far as starting a program needs them:
// the Name and Exec keys of the [Desktop Entry] group, the Exec line split into
// an argument vector by its quoting rules, and its field codes filled with one
// file. Also the command of a configured outside tool, which is either a
// program's path (as the Options pages add them; blanks and all) or an Exec
// line (as the defaults from the desktop's entries are). Readers report, never
// trust: a damaged file or line gives nullopt. Any thread.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vistrel {

struct DesktopEntry {
    std::string name; // the untranslated Name
    std::string exec;
};

// The entry in a file's text; nullopt without a Name or an Exec, or when the
// entry is hidden or not an application.
std::optional<DesktopEntry> ParseDesktopEntry(std::string_view text);

// Splits an Exec line: words separated by blanks; a word in double quotes
// keeps its blanks, with \" \` \$ \\ as escapes inside. Also undoes the
// string escapes of the file (\s \n \t \r \\). nullopt for an open quote or an
// empty line.
std::optional<std::vector<std::string>> SplitExecLine(std::string_view exec);

// The words with their field codes filled: %f %F %u %U become the file (%u and
// %U as a file URI would only confuse programs that take paths, so the path),
// %% a '%', the other codes (%i %c %k and the deprecated ones) are dropped. When
// no code takes the file, it goes at the end.
std::vector<std::string> FillExecFields(const std::vector<std::string>& words, const std::string& file);

// The argument vector that runs a configured tool on file. A command naming an
// executable file is that program alone, whatever blanks its path holds;
// otherwise it is an Exec line. nullopt for an empty or unreadable command.
std::optional<std::vector<std::string>> ToolArguments(const std::string& command, const std::string& file);

// The file of a desktop id ("org.gnome.eog.desktop") in
// $XDG_DATA_HOME/applications and each of $XDG_DATA_DIRS' applications folders
// (a '-' of the id may also stand for a sub-folder); empty when none exists.
std::string FindDesktopFile(std::string_view desktopId);

// The desktop's default application for a MIME type (`xdg-mime query default`),
// read from its entry; nullopt when there is none or it cannot be read.
std::optional<DesktopEntry> DefaultApplicationFor(const std::string& mimeType);

} // namespace vistrel
