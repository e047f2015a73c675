#include "platform/x11/key_grab.h"

#include <xcb/xcb_keysyms.h>

#include "platform/x11/virtual_keys.h"

#include <algorithm>

namespace vistrel::x11 {

void KeySymbolsDeleter::operator()(_XCBKeySymbols* symbols) const { xcb_key_symbols_free(symbols); }

uint16_t XModifiersOf(uint32_t hotkeyModifiers)
{
    uint16_t mask = 0;
    if (hotkeyModifiers & MOD_ALT)
        mask |= XCB_MOD_MASK_1;
    if (hotkeyModifiers & MOD_CONTROL)
        mask |= XCB_MOD_MASK_CONTROL;
    if (hotkeyModifiers & MOD_SHIFT)
        mask |= XCB_MOD_MASK_SHIFT;
    return mask;
}

std::vector<uint16_t> LockVariants(const LockKeyMasks& masks)
{
    std::vector<uint16_t> variants;
    for (uint16_t caps : {uint16_t(0), uint16_t(XCB_MOD_MASK_LOCK)})
        for (uint16_t num : {uint16_t(0), masks.numModifier})
            for (uint16_t scroll : {uint16_t(0), masks.scrollModifier}) {
                const uint16_t v = uint16_t(caps | num | scroll);
                if (std::find(variants.begin(), variants.end(), v) == variants.end())
                    variants.push_back(v);
            }
    return variants;
}

std::vector<uint8_t> KeycodesOf(_XCBKeySymbols* symbols, HotkeySetting key)
{
    std::vector<uint8_t> keycodes;
    const uint32_t keysym = KeysymForVirtualKey(key.virtualKey);
    if (!keysym || !symbols)
        return keycodes;
    Reply<xcb_keycode_t> codes(xcb_key_symbols_get_keycode(symbols, keysym));
    // A keysym may sit on several keys (Print on some keyboards); each one works.
    for (const xcb_keycode_t* k = codes.get(); k && *k != XCB_NO_SYMBOL; ++k)
        keycodes.push_back(*k);
    return keycodes;
}

GrabResult GrabAllLockVariants(xcb_connection_t* conn, xcb_window_t root, uint8_t keycode, uint16_t modifiers,
                               const LockKeyMasks& masks)
{
    std::vector<xcb_void_cookie_t> cookies;
    for (uint16_t variant : LockVariants(masks))
        // owner_events off: the event goes to the root (and to us) even when one of
        // our own windows has the focus.
        cookies.push_back(xcb_grab_key_checked(conn, 0, root, uint16_t(modifiers | variant), keycode,
                                               XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
    GrabResult result = GrabResult::Grabbed;
    for (auto cookie : cookies) {
        Reply<xcb_generic_error_t> error(xcb_request_check(conn, cookie));
        if (error && result != GrabResult::Refused)
            result = error->error_code == XCB_ACCESS ? GrabResult::Taken : GrabResult::Refused;
    }
    if (result != GrabResult::Grabbed)
        UngrabAllLockVariants(conn, root, keycode, modifiers, masks);
    return result;
}

void UngrabAllLockVariants(xcb_connection_t* conn, xcb_window_t root, uint8_t keycode, uint16_t modifiers,
                           const LockKeyMasks& masks)
{
    if (!conn)
        return;
    for (uint16_t v : LockVariants(masks))
        xcb_ungrab_key(conn, keycode, root, uint16_t(modifiers | v));
}

bool IsPressOf(const xcb_generic_event_t* event, xcb_window_t root, const std::vector<uint8_t>& keycodes,
               uint16_t modifiers)
{
    if ((event->response_type & 0x7F) != XCB_KEY_PRESS)
        return false;
    auto* key = reinterpret_cast<const xcb_key_press_event_t*>(event);
    const uint16_t relevant = XCB_MOD_MASK_SHIFT | XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1;
    return key->event == root && (key->state & relevant) == modifiers &&
           std::find(keycodes.begin(), keycodes.end(), key->detail) != keycodes.end();
}

KeyGrab::KeyGrab(const Connection& conn, HotkeySetting key) : m_conn(conn)
{
    if (!conn.ok() || !key.isSet())
        return;
    const KeySymbols symbols(xcb_key_symbols_alloc(conn.get()));
    const std::vector<uint8_t> keycodes = KeycodesOf(symbols.get(), key);
    if (keycodes.empty()) {
        m_problem = "the hotkey has no key on this keyboard";
        return;
    }
    m_masks = FindLockKeyMasks(conn.get());
    m_modifiers = XModifiersOf(key.modifiers);
    for (uint8_t keycode : keycodes) {
        const GrabResult result = GrabAllLockVariants(conn.get(), conn.root(), keycode, m_modifiers, m_masks);
        if (result != GrabResult::Grabbed) {
            for (uint8_t held : m_keycodes)
                UngrabAllLockVariants(conn.get(), conn.root(), held, m_modifiers, m_masks);
            m_keycodes.clear();
            xcb_flush(conn.get());
            m_problem = result == GrabResult::Taken ? "the hotkey is taken by another program"
                                                    : "the X server refused to grab the hotkey";
            return;
        }
        m_keycodes.push_back(keycode);
    }
}

KeyGrab::~KeyGrab()
{
    for (uint8_t keycode : m_keycodes)
        UngrabAllLockVariants(m_conn.get(), m_conn.root(), keycode, m_modifiers, m_masks);
    if (!m_keycodes.empty())
        xcb_flush(m_conn.get());
}

bool KeyGrab::PressedSinceLastLook()
{
    bool pressed = false;
    while (Reply<xcb_generic_event_t> event{xcb_poll_for_event(m_conn.get())})
        pressed = pressed || (ok() && IsPressOf(event.get(), m_conn.root(), m_keycodes, m_modifiers));
    return pressed;
}

} // namespace vistrel::x11
