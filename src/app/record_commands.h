#pragma once
// --record and --list-codecs. They run in vistrel-record, the one half of the
// command line that loads FFmpeg (some 35 ms of library loading that no other
// command should pay); vistrel-cli hands these commands over to it.

#include "app/command_line.h"

namespace vistrel {

// Prints the installed compressors: FourCC, a tab, the description, one a line.
int ListCodecs();

// Records as the command line asks and prints the new file's path when the
// recording ends (after --seconds, or on SIGINT, SIGTERM or SIGHUP). Exit
// status 2, before anything is written, for a refused request; 1 when the
// recording failed or its number could not be stored (the path is still
// printed when the file holds frames); 0 done.
int RunRecordCommand(const CommandLine& commandLine);

} // namespace vistrel
