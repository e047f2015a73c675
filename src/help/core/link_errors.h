#pragma once
// The texts shown when a link or a file cannot be opened, by the shell's result
// code (the codes of a failed "open": 2 file not found, 31 no handler, ...).
// Plain data, any thread.

#include <string>

namespace vistrel {

// A result above this means the link was opened.
inline constexpr int kOpenedAbove = 32;

// The text for a code alone; "Unknown Error (CODE) occurred." for a code
// without one.
std::string OpenErrorText(int code);

// The whole message: "Unable to open hyperlink:" and two line breaks, then the
// text for the code.
std::string LinkErrorMessage(int code);

} // namespace vistrel
