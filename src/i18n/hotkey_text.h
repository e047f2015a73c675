#pragma once
// The text a hotkey is shown as in menus and dialogs: the keyboard layout's
// names of the modifiers and the key, joined with '+' ("Ctrl+F1", "Print").
// The names come from a function the caller passes: the desktop's own names in
// the windowed program, the built-in English table on the command line and in
// tests.

#include "settings/hotkey_setting.h"

#include <cstdint>
#include <functional>
#include <string>

namespace vistrel {

// Windows virtual-key codes of the three modifier keys.
constexpr uint32_t VK_SHIFT_KEY = 0x10;
constexpr uint32_t VK_CONTROL_KEY = 0x11;
constexpr uint32_t VK_ALT_KEY = 0x12;

// Modifier bit that asks for the extended-key name of the main key.
constexpr uint32_t MOD_EXTENDED_KEY = 8;

// Longest key name taken from the layout, in bytes.
constexpr size_t kMaxKeyNameBytes = 100;

// The layout's name of a virtual key; extended as the modifier bit 8 says.
// An unknown key gives an empty name.
using KeyNameFunction = std::function<std::string(uint32_t virtualKey, bool extended)>;

// English names as the desktop shows them on a US layout: "Ctrl", "Shift",
// "Alt", "F1".."F24", "A".."Z", "0".."9", "Print", "Del", "Num+5" ...
std::string FallbackKeyName(uint32_t virtualKey, bool extended);

// Empty when the low 16 bits of both values are 0; else the names of Ctrl,
// Shift and Alt as set, each followed by '+', then the key's name.
std::string HotkeyToText(uint32_t modifiers, uint32_t virtualKey,
                         const KeyNameFunction& keyName = FallbackKeyName);
inline std::string HotkeyToText(HotkeySetting key, const KeyNameFunction& keyName = FallbackKeyName)
{
    return HotkeyToText(key.modifiers, key.virtualKey, keyName);
}

} // namespace vistrel
