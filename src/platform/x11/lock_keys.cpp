#include "platform/x11/lock_keys.h"

#include <xcb/xcb_keysyms.h>

#include <cstdlib>
#include <memory>

namespace vistrel::x11 {

namespace {

constexpr uint32_t kNumLockKeysym = 0xff7f;
constexpr uint32_t kScrollLockKeysym = 0xff14;

uint16_t ModifierOf(xcb_key_symbols_t* symbols, const xcb_get_modifier_mapping_reply_t* map,
                    uint32_t keysym)
{
    std::unique_ptr<xcb_keycode_t, decltype(&std::free)> keys(xcb_key_symbols_get_keycode(symbols, keysym), &std::free);
    if (!keys)
        return 0;
    const xcb_keycode_t* codes = xcb_get_modifier_mapping_keycodes(map);
    const int perModifier = map->keycodes_per_modifier;
    for (int mod = 3; mod < 8; ++mod) // Mod1 to Mod5: Shift, Lock and Control never are
        for (int k = 0; k < perModifier; ++k)
            for (const xcb_keycode_t* n = keys.get(); *n != XCB_NO_SYMBOL; ++n)
                if (codes[mod * perModifier + k] == *n)
                    return uint16_t(1u << mod);
    return 0;
}

} // namespace

LockKeyMasks FindLockKeyMasks(xcb_connection_t* conn)
{
    LockKeyMasks masks;
    if (!conn)
        return masks;
    std::unique_ptr<xcb_key_symbols_t, decltype(&xcb_key_symbols_free)> symbols(xcb_key_symbols_alloc(conn),
                                                                                 &xcb_key_symbols_free);
    Reply<xcb_get_modifier_mapping_reply_t> map(
        xcb_get_modifier_mapping_reply(conn, xcb_get_modifier_mapping(conn), nullptr));
    if (!symbols || !map)
        return masks;
    masks.numModifier = ModifierOf(symbols.get(), map.get(), kNumLockKeysym);
    masks.scrollModifier = ModifierOf(symbols.get(), map.get(), kScrollLockKeysym);
    return masks;
}

LockKeys LockKeysFrom(uint16_t modifierState, uint32_t ledMask, const LockKeyMasks& masks)
{
    LockKeys keys;
    keys.caps = (modifierState & XCB_MOD_MASK_LOCK) || (ledMask & 1u);
    keys.num = (masks.numModifier && (modifierState & masks.numModifier)) || (ledMask & 2u);
    keys.scroll = (masks.scrollModifier && (modifierState & masks.scrollModifier)) || (ledMask & 4u);
    return keys;
}

LockKeys ReadLockKeys(const Connection& conn, const LockKeyMasks& masks)
{
    if (!conn.ok())
        return {};
    auto pointerCookie = xcb_query_pointer(conn.get(), conn.root());
    auto keyboardCookie = xcb_get_keyboard_control(conn.get());
    Reply<xcb_query_pointer_reply_t> pointer(xcb_query_pointer_reply(conn.get(), pointerCookie, nullptr));
    Reply<xcb_get_keyboard_control_reply_t> keyboard(
        xcb_get_keyboard_control_reply(conn.get(), keyboardCookie, nullptr));
    return LockKeysFrom(pointer ? pointer->mask : 0, keyboard ? keyboard->led_mask : 0, masks);
}

} // namespace vistrel::x11
