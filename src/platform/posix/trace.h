#pragma once
// VISTREL_TRACE=1 prints one line per hotkey received and per capture saved on
// stderr, for tests and for users chasing a problem. Silent otherwise.

#include <string_view>

namespace vistrel {

bool TraceEnabled();
void Trace(std::string_view line);

} // namespace vistrel
