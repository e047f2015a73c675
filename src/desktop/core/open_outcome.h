#pragma once
// What handing a file to the desktop's opener came to, in the shell's failure
// codes (above 32 is success): the file missing 2, its folder missing 3, no
// permission to read it 5, no opener to hand it to 31. Their texts are the
// link errors' (OpenErrorText). Any thread.

#include "help/core/link_errors.h"

#include <string>

namespace vistrel {

constexpr int kOpenStarted = kOpenedAbove + 1;

// The code before the opener is started: 0 when the file can be handed over.
int CheckFileToOpen(const std::string& path);

// The code once the opener was (or was not) started.
inline int OpenerOutcome(bool started) { return started ? kOpenStarted : 31; }

} // namespace vistrel
