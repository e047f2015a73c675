#pragma once

#include <cstdint>
#include <vector>

namespace vistrel {

// Modifier bits as stored in the settings file.
constexpr uint32_t MOD_ALT = 1;
constexpr uint32_t MOD_CONTROL = 2;
constexpr uint32_t MOD_SHIFT = 4;

// A key combination kept as its stored identity: modifiers and a Windows
// virtual-key code. Both 0 means no hotkey.
struct HotkeySetting {
    uint32_t modifiers = 0;
    uint32_t virtualKey = 0;

    bool isSet() const { return modifiers != 0 || virtualKey != 0; }
    friend bool operator==(const HotkeySetting&, const HotkeySetting&) = default;
};

// Identifiers under which the hotkeys are registered and reported.
enum HotkeyId : int {
    HOTKEY_OBJECT = 0x606,
    HOTKEY_FULLSCREEN = 0x607,
    HOTKEY_RECTANGLE = 0x608,
    HOTKEY_CIRCLE = 0x609,
    HOTKEY_ELLIPSE = 0x610,
    HOTKEY_POLYGON = 0x611,
    HOTKEY_AVI = 0x612,
    HOTKEY_ESCAPE = 0x614,
    HOTKEY_TIMER = 0x615,
};

// What the settings record asks of the desktop to make a hotkey system-wide.
// Register returns false when the key could not be grabbed. TakenIds names the
// hotkeys whose last registration failed because another program holds the
// key, in the order they were registered; unregistering does not change it,
// so it still tells after the keys were let go for a while.
class HotkeyRegistrar {
public:
    virtual ~HotkeyRegistrar() = default;
    virtual bool Register(int id, HotkeySetting key) = 0;
    virtual void Unregister(int id) = 0;
    virtual std::vector<int> TakenIds() const { return {}; }
};

} // namespace vistrel
