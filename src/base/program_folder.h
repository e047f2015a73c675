#pragma once
// Where the program keeps "capture.cfg", "Capture/...", "Language/" and
// "registry.ini": --home or VISTREL_HOME when given; else the executable's folder
// when the user may write there (portable use); else $XDG_DATA_HOME/vistrel.

#include <string>

namespace vistrel {

// --home: sets VISTREL_HOME (made absolute) for this process and its children.
void SetProgramFolderOverride(const std::string& folder);

// The folder without a trailing '/'; empty when nothing can be found.
std::string GetProgramFolder();

// The running executable's folder, without a trailing '/'; empty if unknown.
std::string ExecutableFolder();

} // namespace vistrel
