#pragma once
// VISTREL_TRACE=1 prints on stderr one line per hotkey received and per capture
// saved or cancelled, the bars shown at start and the menu texts after a
// language change, for tests and for users chasing a problem. Silent otherwise.

#include <string_view>

namespace vistrel {

bool TraceEnabled();
void Trace(std::string_view line);

} // namespace vistrel
