#pragma once
// Grabbing a key on a root window for every combination of the lock keys
// (Caps, Num and Scroll Lock), so the key works whatever their state. The
// pieces work on any connection (the toolkit's hotkeys use them too); KeyGrab
// holds one hotkey on a connection of our own for as long as it lives.

#include "platform/x11/lock_keys.h"
#include "platform/x11/x11_connection.h"
#include "settings/hotkey_setting.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct _XCBKeySymbols;

namespace vistrel::x11 {

struct KeySymbolsDeleter {
    void operator()(_XCBKeySymbols* symbols) const;
};
using KeySymbols = std::unique_ptr<_XCBKeySymbols, KeySymbolsDeleter>;

// The X modifier mask of stored hotkey modifiers (MOD_ALT, MOD_CONTROL, MOD_SHIFT).
uint16_t XModifiersOf(uint32_t hotkeyModifiers);

// Every distinct mask of lock modifiers, none included.
std::vector<uint16_t> LockVariants(const LockKeyMasks& masks);

// The keys that carry the hotkey's keysym (several on some keyboards); none
// when the virtual key has no X counterpart.
std::vector<uint8_t> KeycodesOf(_XCBKeySymbols* symbols, HotkeySetting key);

// How a grab went. Taken: another client holds the key (the server's BadAccess);
// Refused: any other error.
enum class GrabResult { Grabbed, Taken, Refused };

// All or nothing: no grab is left unless every variant was grabbed.
GrabResult GrabAllLockVariants(xcb_connection_t* conn, xcb_window_t root, uint8_t keycode, uint16_t modifiers,
                               const LockKeyMasks& masks);
void UngrabAllLockVariants(xcb_connection_t* conn, xcb_window_t root, uint8_t keycode, uint16_t modifiers,
                           const LockKeyMasks& masks);

// Whether the event is a press of keycode with exactly these hotkey modifiers
// (lock keys aside) on root.
bool IsPressOf(const xcb_generic_event_t* event, xcb_window_t root, const std::vector<uint8_t>& keycodes,
               uint16_t modifiers);

// One hotkey grabbed on the connection's root window; released on destruction.
class KeyGrab {
public:
    // Check ok(); problem() says why not, and is empty when no hotkey is set.
    KeyGrab(const Connection& conn, HotkeySetting key);
    ~KeyGrab();
    KeyGrab(const KeyGrab&) = delete;
    KeyGrab& operator=(const KeyGrab&) = delete;

    bool ok() const { return !m_keycodes.empty(); }
    const std::string& problem() const { return m_problem; }

    // Reads every event waiting on the connection; true when one was a press of the key.
    bool PressedSinceLastLook();
    // Readable when events arrive; -1 when nothing is grabbed or the connection is lost.
    int fd() const { return ok() ? m_conn.fd() : -1; }

private:
    const Connection& m_conn;
    LockKeyMasks m_masks;
    uint16_t m_modifiers = 0;
    std::vector<uint8_t> m_keycodes; // grabbed
    std::string m_problem;
};

} // namespace vistrel::x11
