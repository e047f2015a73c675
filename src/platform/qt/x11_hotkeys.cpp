#include "platform/qt/x11_hotkeys.h"

#include <QGuiApplication>

#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>

#include <cstdlib>

namespace vistrel {

X11Hotkeys::X11Hotkeys(QObject* parent) : QObject(parent)
{
    auto* x11 = qApp ? qApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || !x11->connection())
        return;
    m_conn = x11->connection();
    const xcb_setup_t* setup = xcb_get_setup(m_conn);
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(setup);
    if (!it.rem) {
        m_conn = nullptr;
        return;
    }
    m_root = it.data->root;
    m_symbols.reset(xcb_key_symbols_alloc(m_conn));
    m_lockMasks = x11::FindLockKeyMasks(m_conn);
    // The toolkit uses XKB, so map changes reach it (and us) as XKB events.
    static constexpr char kXkb[] = "XKEYBOARD";
    std::unique_ptr<xcb_query_extension_reply_t, decltype(&std::free)> xkb(
        xcb_query_extension_reply(m_conn, xcb_query_extension(m_conn, sizeof kXkb - 1, kXkb), nullptr), &std::free);
    if (xkb && xkb->present)
        m_xkbEventBase = xkb->first_event;
    qApp->installNativeEventFilter(this);
}

X11Hotkeys::~X11Hotkeys()
{
    if (qApp)
        qApp->removeNativeEventFilter(this);
    for (const Grab& g : m_grabs)
        UngrabAllLockVariants(g.keycode, g.modifiers);
    if (m_conn)
        xcb_flush(m_conn);
}

x11::GrabResult X11Hotkeys::GrabAllLockVariants(uint8_t keycode, uint16_t modifiers)
{
    return x11::GrabAllLockVariants(m_conn, m_root, keycode, modifiers, m_lockMasks);
}

void X11Hotkeys::UngrabAllLockVariants(uint8_t keycode, uint16_t modifiers)
{
    x11::UngrabAllLockVariants(m_conn, m_root, keycode, modifiers, m_lockMasks);
}

bool X11Hotkeys::Register(int id, HotkeySetting key)
{
    Unregister(id);
    std::erase(m_taken, id);
    if (!m_conn || !key.isSet())
        return false;
    m_registered.emplace_back(id, key);
    const x11::GrabResult result = GrabKey(id, key);
    if (result == x11::GrabResult::Taken)
        m_taken.push_back(id);
    return result == x11::GrabResult::Grabbed;
}

x11::GrabResult X11Hotkeys::GrabKey(int id, HotkeySetting key)
{
    const std::vector<uint8_t> keycodes = x11::KeycodesOf(m_symbols.get(), key);
    if (keycodes.empty())
        return x11::GrabResult::Refused;
    const uint16_t modifiers = x11::XModifiersOf(key.modifiers);
    // Two ids on one key would both fire; like the system, the second one fails.
    for (const Grab& g : m_grabs)
        for (uint8_t keycode : keycodes)
            if (g.keycode == keycode && g.modifiers == modifiers)
                return x11::GrabResult::Refused;
    for (uint8_t keycode : keycodes) {
        const x11::GrabResult result = GrabAllLockVariants(keycode, modifiers);
        if (result != x11::GrabResult::Grabbed) {
            UngrabId(id);
            return result;
        }
        m_grabs.push_back({id, keycode, modifiers});
    }
    return x11::GrabResult::Grabbed;
}

bool X11Hotkeys::UngrabId(int id)
{
    return std::erase_if(m_grabs, [&](const Grab& g) {
        if (g.id != id)
            return false;
        UngrabAllLockVariants(g.keycode, g.modifiers);
        return true;
    }) > 0;
}

void X11Hotkeys::Unregister(int id)
{
    std::erase_if(m_registered, [id](const auto& r) { return r.first == id; });
    if (UngrabId(id))
        xcb_flush(m_conn);
}

bool X11Hotkeys::IsKeyboardMapChange(const void* message) const
{
    auto* event = static_cast<const xcb_generic_event_t*>(message);
    const uint8_t type = event->response_type & 0x7F;
    if (type == XCB_MAPPING_NOTIFY)
        return reinterpret_cast<const xcb_mapping_notify_event_t*>(event)->request != XCB_MAPPING_POINTER;
    if (!m_xkbEventBase || type != m_xkbEventBase)
        return false;
    const uint8_t xkbType = reinterpret_cast<const uint8_t*>(event)[1];
    // XKB's own event numbers (xkb.h cannot be included from C++).
    constexpr uint8_t kNewKeyboardNotify = 0, kMapNotify = 1;
    return xkbType == kNewKeyboardNotify || xkbType == kMapNotify;
}

void X11Hotkeys::KeyboardMapChanged()
{
    const x11::LockKeyMasks masks = x11::FindLockKeyMasks(m_conn);
    m_symbols.reset(xcb_key_symbols_alloc(m_conn));
    // The server also says so when input merely comes from another keyboard
    // with the same map; grabbing again then would only open a moment in
    // which a hotkey could slip through.
    bool same = masks == m_lockMasks;
    for (const auto& [id, key] : m_registered) {
        std::vector<uint8_t> had;
        for (const Grab& g : m_grabs)
            if (g.id == id)
                had.push_back(g.keycode);
        same = same && had == x11::KeycodesOf(m_symbols.get(), key);
    }
    if (same)
        return;
    // Still with the old masks: the old grabs go with the variants they were made with.
    for (const Grab& g : m_grabs)
        UngrabAllLockVariants(g.keycode, g.modifiers);
    m_grabs.clear();
    m_lockMasks = masks;
    m_taken.clear();
    for (const auto& [id, key] : m_registered)
        if (GrabKey(id, key) == x11::GrabResult::Taken)
            m_taken.push_back(id);
    xcb_flush(m_conn);
}

bool X11Hotkeys::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*)
{
    if (eventType != "xcb_generic_event_t" || !m_conn)
        return false;
    if (IsKeyboardMapChange(message)) {
        // After the toolkit has seen it too; the grabs follow the new map.
        QMetaObject::invokeMethod(this, &X11Hotkeys::KeyboardMapChanged, Qt::QueuedConnection);
        return false;
    }
    if (m_grabs.empty())
        return false;
    auto* event = static_cast<xcb_generic_event_t*>(message);
    uint8_t type = event->response_type & 0x7F;
    if (type != XCB_KEY_PRESS && type != XCB_KEY_RELEASE)
        return false;
    auto* key = reinterpret_cast<xcb_key_press_event_t*>(event);
    if (key->event != m_root)
        return false;
    const uint16_t relevant = XCB_MOD_MASK_SHIFT | XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1;
    uint16_t state = key->state & relevant;
    for (const Grab& g : m_grabs) {
        if (g.keycode == key->detail && g.modifiers == state) {
            if (type == XCB_KEY_PRESS)
                emit hotkeyPressed(g.id);
            return true;
        }
    }
    return false;
}

} // namespace vistrel
