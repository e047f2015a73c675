#pragma once
// Where the program keeps "capture.cfg", "Capture/...", "Language/" and
// "registry.ini": --home or VISTREL_HOME when given; else, for an installed
// program (its share/vistrel beside its bin/), $XDG_DATA_HOME/vistrel, never
// its bin/; else (portable use: a build tree or an unpacked folder) the
// executable's folder when the user may write there, or $XDG_DATA_HOME/vistrel.

#include <string>
#include <vector>

namespace vistrel {

// --home: sets VISTREL_HOME (made absolute) for this process and its children.
void SetProgramFolderOverride(const std::string& folder);

// The folder without a trailing '/'; empty when nothing can be found.
std::string GetProgramFolder();

// The running executable's folder, without a trailing '/'; empty if unknown.
std::string ExecutableFolder();

// True for an installed program not given a folder of its own (--home,
// VISTREL_HOME): its captures go to the user's own folders.
bool InstalledUse();

// Where the files that come with the program (language files, help pages) are
// found, first one first: installedName ("help") in the install's
// share/vistrel beside the executable's folder, then sourcePath ("data/help")
// of the source tree when this executable is the one of its build folder. The
// folders need not exist.
std::vector<std::string> ShippedDataFolders(const std::string& installedName, const std::string& sourcePath);

} // namespace vistrel
