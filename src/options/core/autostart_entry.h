#pragma once
// Starting the program at login: the XDG autostart entry
// $XDG_CONFIG_HOME/autostart/vistrel.desktop (~/.config when the variable is
// unset or not absolute), whose Exec line runs the program with the argument 0
// so that it starts in the tray. Writing replaces the entry whole or leaves it
// as it was; removing a missing entry is no error.

#include <string>
#include <string_view>

namespace vistrel {

// The entry's path from the two variables as given ("" when neither gives one).
std::string AutostartEntryPath(const char* xdgConfigHome, const char* home);
std::string AutostartEntryPath(); // from this process's environment

// The desktop entry that runs program (a full path) with the argument 0.
std::string AutostartEntryText(std::string_view program);

// One argument of an Exec line: quoted when it has to be, '%' doubled.
std::string ExecArgument(std::string_view argument);

// false when the entry could not be written or removed.
bool WriteAutostartEntry(const std::string& path, std::string_view program);
bool RemoveAutostartEntry(const std::string& path);

} // namespace vistrel
