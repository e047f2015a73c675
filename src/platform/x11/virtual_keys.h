#pragma once
// Hotkeys are stored as Windows virtual-key codes so the settings file keeps its
// layout; X wants keysyms. This is the one table between the two.

#include <cstdint>

namespace vistrel::x11 {

// The keysym of a virtual-key code; 0 when the code has no X counterpart.
uint32_t KeysymForVirtualKey(uint32_t virtualKey);

// The virtual-key code of a keysym (letters in either case); 0 when none.
uint32_t VirtualKeyForKeysym(uint32_t keysym);

} // namespace vistrel::x11
