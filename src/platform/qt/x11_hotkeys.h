#pragma once
// System-wide hotkeys on X: each key is grabbed on the root window through the
// toolkit's own connection (the key events arrive there), once for every
// combination of Num Lock, Caps Lock and Scroll Lock, so the key works whatever
// their state. A grab another client holds is detected (checked request) and
// reported as not registered. When the keyboard map changes (another layout,
// xmodmap) every key is grabbed again where it now is. User-interface thread only.

#include "platform/x11/lock_keys.h"
#include "settings/hotkey_setting.h"

#include <QAbstractNativeEventFilter>
#include <QObject>

#include <cstdint>
#include <memory>
#include <vector>

struct xcb_connection_t;
struct _XCBKeySymbols;

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

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

signals:
    void hotkeyPressed(int id);

private:
    struct Grab {
        int id;
        uint8_t keycode;
        uint16_t modifiers;
    };
    struct KeySymbolsDeleter {
        void operator()(_XCBKeySymbols* symbols) const;
    };

    bool GrabAllLockVariants(uint8_t keycode, uint16_t modifiers);
    void UngrabAllLockVariants(uint8_t keycode, uint16_t modifiers);
    std::vector<uint16_t> LockVariants() const;
    bool GrabKey(int id, HotkeySetting key);
    bool UngrabId(int id);
    std::vector<uint8_t> KeycodesOf(HotkeySetting key) const;
    void KeyboardMapChanged();
    bool IsKeyboardMapChange(const void* event) const;

    xcb_connection_t* m_conn = nullptr;
    uint32_t m_root = 0;
    uint8_t m_xkbEventBase = 0; // 0: no XKB
    x11::LockKeyMasks m_lockMasks; // what the grabs in m_grabs were made with
    std::unique_ptr<_XCBKeySymbols, KeySymbolsDeleter> m_symbols;
    std::vector<Grab> m_grabs;
    std::vector<std::pair<int, HotkeySetting>> m_registered; // to grab again after a map change
};

} // namespace vistrel
