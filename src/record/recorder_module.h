#pragma once
// The windowed program's way to the recorder: vistrel-recorder.so, loaded on
// first use and kept for the rest of the run, so that FFmpeg is loaded only by
// runs that record. Looked for beside the executable (the build folder), then
// in the program's library folder of an installation.

#include "record/module/recorder_entry.h"

#include <string>

namespace vistrel {

// The module's entry points, or nullptr with the reason in error (missing,
// unloadable, or from another build). User-interface thread.
const RecorderEntryPoints* LoadRecorder(std::string& error);

} // namespace vistrel
