#pragma once
// The browser's command line, built from the Exec line of the desktop's default
// handler for web pages (a desktop entry). The address takes the place of the
// first file or URL field code (%u, %U, %f, %F), a quoted one ("%u") before a
// bare one, and what followed it is dropped; with no field code the address is
// added at the end. The result is an argument vector, so nothing of the address
// is ever read by a shell. Plain data, any thread.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vistrel {

// The Exec line split into arguments by the desktop entry quoting rules
// (double quotes; \" \` \$ \\ inside them). nullopt for an unterminated quote.
struct ExecArgument {
    std::string text;
    bool quoted = false; // the whole argument was one quoted string
};
std::optional<std::vector<ExecArgument>> SplitExecLine(std::string_view exec);

// The arguments to start: program first. Empty when the Exec line is malformed
// or names no program.
std::vector<std::string> BrowserCommand(std::string_view exec, std::string_view url);

// The value of Exec in the [Desktop Entry] group of a desktop entry's text,
// with the entry's own escapes (\s \n \t \r \\) undone; nullopt without one.
std::optional<std::string> DesktopEntryExec(std::string_view fileText);

// Where a desktop entry id ("firefox.desktop", "kde4-kate.desktop") may be,
// first one first: applications/ under dataHome, then under each folder of
// dataDirs (':'-separated), each also with the id's '-' as sub-folders.
std::vector<std::string> DesktopEntryPaths(std::string_view id, const std::string& dataHome,
                                           std::string_view dataDirs);

} // namespace vistrel
