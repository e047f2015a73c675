#pragma once
// The command-line commands as they run when no copy of the program is running
// (the caller holds the instance lock, so none can start meanwhile). No toolkit:
// these run in the small launcher.

#include "app/command_line.h"
#include "capture/core/capture_request.h"

namespace vistrel {

int PrintSettings();
int SetSettingsHere(const CommandLine& commandLine);
int CaptureHere(const CaptureRequest& request);

} // namespace vistrel
