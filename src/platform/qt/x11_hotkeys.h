#pragma once
// System-wide hotkeys on X: each key is grabbed on the root window through the
// toolkit's own connection (the key events arrive there), once for every
// combination of Num Lock, Caps Lock and Scroll Lock, so the key works whatever
// their state. A grab another client holds is detected (checked request, the
// server's BadAccess), reported as not registered and named by TakenIds. When the keyboard map changes (another layout,
// xmodmap) every key is grabbed again where it now is. User-interface thread only.

#include "platform/x11/key_grab.h"
#include "settings/hotkey_setting.h"

#include <QAbstractNativeEventFilter>
#include <QObject>

#include <cstdint>
#include <memory>
#include <vector>

struct xcb_connection_t;

namespace vistrel {

class X11Hotkeys : public QObject, public QAbstractNativeEventFilter, public HotkeyRegistrar {
    Q_OBJECT
public:
    // Needs a running QGuiApplication on the xcb platform; otherwise every
    // registration fails quietly.
    explicit X11Hotkeys(QObject* parent = nullptr);
    ~X11Hotkeys() override;

    bool Register(int id, HotkeySetting key) override;
    void Unregister(int id) override;
    std::vector<int> TakenIds() const override { return m_taken; }

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

signals:
    void hotkeyPressed(int id);

private:
    struct Grab {
        int id;
        uint8_t keycode;
        uint16_t modifiers;
    };

    x11::GrabResult GrabAllLockVariants(uint8_t keycode, uint16_t modifiers);
    void UngrabAllLockVariants(uint8_t keycode, uint16_t modifiers);
    x11::GrabResult GrabKey(int id, HotkeySetting key);
    bool UngrabId(int id);
    void KeyboardMapChanged();
    bool IsKeyboardMapChange(const void* event) const;

    xcb_connection_t* m_conn = nullptr;
    uint32_t m_root = 0;
    uint8_t m_xkbEventBase = 0; // 0: no XKB
    x11::LockKeyMasks m_lockMasks; // what the grabs in m_grabs were made with
    x11::KeySymbols m_symbols;
    std::vector<Grab> m_grabs;
    std::vector<std::pair<int, HotkeySetting>> m_registered; // to grab again after a map change
    std::vector<int> m_taken;                                 // held by another client at the last try
};

} // namespace vistrel
