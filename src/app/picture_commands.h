#pragma once
// The picture commands of the command line: --convert (the library's Save As)
// and --info (the preview's size text). They need neither the program folder
// nor a window and run in the small launcher.

#include "app/command_line.h"

namespace vistrel {

bool IsPictureCommand(const CommandLine& commandLine);

// Exit status: 0 done; 1 the picture could not be read or written, or OUT
// exists (said on stderr); 2 a file name of a type that is not read or written.
int RunPictureCommand(const CommandLine& commandLine);

} // namespace vistrel
