#pragma once
// Key names as the desktop shows them ("Ctrl", "F1", "Print"), for the texts of
// hotkeys in menus and dialogs.

#include <cstdint>
#include <string>

namespace vistrel {

// The toolkit's native name of a virtual key; empty for an unknown key.
std::string NativeKeyName(uint32_t virtualKey, bool extended);

} // namespace vistrel
