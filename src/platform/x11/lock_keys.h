#pragma once
// The state of the three lock keys, for the status bar's indicators. Read from
// the server each time: the modifier state of the pointer query (Caps Lock, and
// Num Lock and Scroll Lock where the keyboard map puts them on a modifier) and
// the keyboard's lights, which servers keep for Scroll Lock too.

#include "platform/x11/x11_connection.h"

namespace vistrel::x11 {

struct LockKeys {
    bool caps = false;
    bool num = false;
    bool scroll = false;
    bool operator==(const LockKeys&) const = default;
};

// Which modifier bits and lights stand for which lock key.
struct LockKeyMasks {
    uint16_t numModifier = 0;
    uint16_t scrollModifier = 0;
    bool operator==(const LockKeyMasks&) const = default;
};
// Works on any connection (the toolkit's too); all 0 when the map cannot be read.
LockKeyMasks FindLockKeyMasks(xcb_connection_t* conn);

// A failed query reads as all off.
LockKeys ReadLockKeys(const Connection& conn, const LockKeyMasks& masks);

// The decision alone, from the modifier state and the keyboard's light bits
// (bit 0 Caps Lock, 1 Num Lock, 2 Scroll Lock).
LockKeys LockKeysFrom(uint16_t modifierState, uint32_t ledMask, const LockKeyMasks& masks);

} // namespace vistrel::x11
