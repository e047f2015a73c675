#pragma once
// The command-line commands as they run when no copy of the program is running
// (the caller holds the instance lock, so none can start meanwhile). No toolkit:
// these run in the small launcher.

#include "app/command_line.h"
#include "capture/core/capture_request.h"

#include <optional>

namespace vistrel {

// Parses the arguments and applies --home (the settings record is rebuilt so its
// defaults hang from that folder). nullopt after printing why on stderr.
std::optional<CommandLine> TakeCommandLine(int argc, char** argv);

int PrintSettings();
int SetSettingsHere(const CommandLine& commandLine);
int CaptureHere(const CaptureRequest& request);

} // namespace vistrel
