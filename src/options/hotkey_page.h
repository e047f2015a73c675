#pragma once
// CHotkeyPage ("Hotkeys"): the eight capture hotkeys. While the page exists no
// hotkey is grabbed, so that pressing one types it into the focused field; the
// page grabs them again, from theEnv, when it is destroyed with the sheet.
// Enter and Escape are swallowed on the page (they are keys a user may want to
// type, and must not close the sheet). Applying refuses when another field
// holds the Full Screen key. A key another program held when the hotkeys were
// last registered is marked beside its field; applying tries the new keys
// (grabbed and let go again) and marks anew. User-interface thread only.

#include "options/options_page.h"

#include <array>
#include <vector>

class QGroupBox;

namespace vistrel {

class CHotKeyField;
struct HotkeySetting;

class CHotkeyPage : public COptionsPage {
    Q_OBJECT
public:
    explicit CHotkeyPage(QWidget* parent);
    ~CHotkeyPage() override;

    bool OnApply() override;

    static constexpr size_t kRows = 8; // Full Screen first

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QGroupBox* BuildKeyGroup(DialogControls& controls);
    void Connect();
    void LoadFields();
    void OnDefault();
    QWidget* BuildTakenMark(QWidget* parent, int fieldId);
    void MarkTakenKeys(const std::vector<int>& takenIds);

    std::array<CHotKeyField*, kRows> m_fields{};
    std::array<QWidget*, kRows> m_marks{}; // "taken by another program", beside each field
};

} // namespace vistrel
