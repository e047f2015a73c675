#pragma once
// --print-settings and --set, shared by the command line and the running copy
// (which carries out the --set of a later copy).

#include <string>
#include <vector>

namespace vistrel {

class CEnv;

// Applies every assignment to theEnv and g_strLanguageFile, and to the
// preferences of the registry store (written at once), or none of them:
// returns 0; 2 with the reason in error for a refused assignment; 1 when the
// registry file cannot be written.
int ApplySettingAssignments(const std::vector<std::string>& assignments, std::string& error);

} // namespace vistrel
