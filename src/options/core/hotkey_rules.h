#pragma once
// The Hotkeys page's rules: the hot-key field keeps a key with its own modifier
// flags (Shift 1, Ctrl 2, Alt 4, extended key 8), the settings with the
// registration flags (Alt 1, Ctrl 2, Shift 4). Only the Full Screen key is
// checked against the others: it is the one a user must always be able to reach.

#include "settings/hotkey_setting.h"

#include <cstdint>
#include <span>

namespace vistrel {

constexpr uint32_t HOTKEYF_SHIFT = 1;
constexpr uint32_t HOTKEYF_CONTROL = 2;
constexpr uint32_t HOTKEYF_ALT = 4;
constexpr uint32_t HOTKEYF_EXT = 8;

// What a hot-key field holds: a virtual-key code and the field's flags.
struct HotkeyFieldValue {
    uint32_t virtualKey = 0;
    uint32_t flags = 0;
    friend bool operator==(const HotkeyFieldValue&, const HotkeyFieldValue&) = default;
};

// Alt, Ctrl and Shift carried over; any other flag dropped.
HotkeyFieldValue FieldValueFromSetting(HotkeySetting setting);
HotkeySetting SettingFromFieldValue(HotkeyFieldValue value);

// fields[0] is Full Screen: true when any other field holds exactly its value
// (both empty counts too). The others are not compared with each other.
bool FullScreenKeyRepeated(std::span<const HotkeyFieldValue> fields);

} // namespace vistrel
