#pragma once
// The browser's command line, built from the Exec line of the desktop's default
// handler for web pages (a desktop entry). The address takes the place of the
// first file or URL field code (%u, %U, %f, %F), a quoted one ("%u") before a
// bare one, and what followed it is dropped; with no field code the address is
// added at the end. The result is an argument vector, so nothing of the address
// is ever read by a shell. Plain data, any thread.

#include <string>
#include <string_view>
#include <vector>

namespace vistrel {

// The arguments to start: program first. Empty when the Exec line is malformed
// or names no program.
std::vector<std::string> BrowserCommand(std::string_view exec, const std::string& url);

} // namespace vistrel
