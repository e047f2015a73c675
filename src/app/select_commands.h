#pragma once
// --select and --record-dialog: what the window's hotkeys open, asked for from
// the command line (or a desktop's own shortcut, where the program's hotkeys
// are taken). Carried out by the running copy's window, which is started
// first when no copy runs. No toolkit: these run in vistrel-cli.

#include "app/command_line.h"

namespace vistrel {

bool IsWindowRequest(const CommandLine& commandLine);

// The running copy's answer: --select prints the saved file's path (status 1
// when the selection is cancelled); 2 for a shape that is not a selection.
int RunWindowRequest(const CommandLine& commandLine);

} // namespace vistrel
