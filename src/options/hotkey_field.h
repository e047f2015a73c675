#pragma once
// CHotKeyField: a field that takes the key combination pressed in it, as the
// desktop's hot-key controls do. It keeps a virtual-key code with its own
// modifier flags (see options/core/hotkey_rules.h) and shows the combination's
// name ("Ctrl+F1"). Backspace or Delete alone empties it; Tab still moves on;
// a modifier alone changes nothing. User-interface thread only.

#include "options/core/hotkey_rules.h"

#include <QLineEdit>

namespace vistrel {

class CHotKeyField : public QLineEdit {
    Q_OBJECT
public:
    explicit CHotKeyField(QWidget* parent = nullptr);

    HotkeyFieldValue value() const { return m_value; }
    void setValue(HotkeyFieldValue value);

signals:
    void valueChanged();

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    HotkeyFieldValue m_value;
};

// The virtual-key code of a key press: from the X keysym on the desktop, from
// the toolkit's key code where there is none (letters, digits, F1-F24, Print).
uint32_t VirtualKeyOfEvent(const QKeyEvent& event);

} // namespace vistrel
