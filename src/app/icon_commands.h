#pragma once
// The icon commands of the command line: --icons (list, or --save-all) and
// --icon-search. They run the same core code as the icon dialogs, in the small
// launcher, without the toolkit.

#include "app/command_line.h"

namespace vistrel {

bool IsIconCommand(const CommandLine& commandLine);

// Exit status: 0 done; 1 something was not read or written, a file given
// missing or unreadable among them, or the output was lost (said on stderr);
// 2 a file is not a loadable 32-bit module, or the search folder is missing.
int RunIconCommand(const CommandLine& commandLine);

} // namespace vistrel
