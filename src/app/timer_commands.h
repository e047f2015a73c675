#pragma once
// --timer: a timer capture from the command line, handed to the running copy
// when there is one (which then shows its timer tray icon), else taken here
// under the instance lock. No toolkit: this runs in the small launcher.

#include "app/command_line.h"
#include "capture/core/timer_capture.h"

namespace vistrel {

TimerWords TimerWordsOf(const CommandLine& commandLine);

// Takes one shot of the area every interval and prints each path as it is
// saved, until the count is reached or SIGINT, SIGTERM or SIGHUP arrives.
// Exit status 2, before any shot, for a refused request (an interval or size
// of 0 or less, an area wholly off the screen); 1 when a shot could not be
// grabbed or saved (it ends the run); 0 otherwise.
int RunTimerCommand(const CommandLine& commandLine);

} // namespace vistrel
