#include "options/hotkey_field.h"

#include "i18n/hotkey_text.h"
#include "platform/qt/key_names.h"
#include "platform/x11/virtual_keys.h"

#include <QKeyEvent>

namespace vistrel {

namespace {

constexpr uint32_t VK_SNAPSHOT = 0x2C;
constexpr uint32_t VK_F1 = 0x70;

bool IsModifierKey(int key)
{
    return key == Qt::Key_Shift || key == Qt::Key_Control || key == Qt::Key_Alt || key == Qt::Key_Meta ||
           key == Qt::Key_AltGr || key == Qt::Key_Super_L || key == Qt::Key_Super_R;
}

uint32_t FlagsOfEvent(const QKeyEvent& event)
{
    const Qt::KeyboardModifiers modifiers = event.modifiers();
    uint32_t flags = 0;
    if (modifiers & Qt::ShiftModifier)
        flags |= HOTKEYF_SHIFT;
    if (modifiers & Qt::ControlModifier)
        flags |= HOTKEYF_CONTROL;
    if (modifiers & Qt::AltModifier)
        flags |= HOTKEYF_ALT;
    return flags;
}

} // namespace

uint32_t VirtualKeyOfEvent(const QKeyEvent& event)
{
    if (const uint32_t keysym = event.nativeVirtualKey())
        if (const uint32_t virtualKey = x11::VirtualKeyForKeysym(keysym))
            return virtualKey;
    const int key = event.key();
    if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9))
        return uint32_t(key); // the virtual keys of letters and digits are their upper-case codes
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
        return VK_F1 + uint32_t(key - Qt::Key_F1);
    if (key == Qt::Key_Print)
        return VK_SNAPSHOT;
    return 0;
}

CHotKeyField::CHotKeyField(QWidget* parent) : QLineEdit(parent)
{
    setContextMenuPolicy(Qt::NoContextMenu);
    setAttribute(Qt::WA_InputMethodEnabled, false);
    setValue({});
}

void CHotKeyField::setValue(HotkeyFieldValue value)
{
    m_value = value;
    const HotkeySetting setting = SettingFromFieldValue(value);
    QString text = QString::fromStdString(HotkeyToText(setting, NativeKeyName));
    if (!setting.isSet())
        text = "None";
    else if (text.isEmpty()) // a key the layout has no name for
        text = QString("0x%1").arg(value.virtualKey, 2, 16, QChar('0'));
    setText(text);
}

bool CHotKeyField::event(QEvent* event)
{
    // Every combination is the field's to take, mnemonics and Tab with modifiers included.
    if (event->type() == QEvent::ShortcutOverride) {
        event->accept();
        return true;
    }
    return QLineEdit::event(event);
}

void CHotKeyField::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    event->accept();
    if (IsModifierKey(key))
        return;
    if ((key == Qt::Key_Backspace || key == Qt::Key_Delete) && event->modifiers() == Qt::NoModifier) {
        setValue({});
        emit valueChanged();
        return;
    }
    const uint32_t virtualKey = VirtualKeyOfEvent(*event);
    if (virtualKey == 0)
        return;
    setValue({virtualKey, FlagsOfEvent(*event)});
    emit valueChanged();
}

void CHotKeyField::keyReleaseEvent(QKeyEvent* event) { event->accept(); }

} // namespace vistrel
