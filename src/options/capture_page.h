#pragma once
// CCapturePage ("Capture"): the three save folders, each with a button that
// picks a folder. Applying stores the texts as typed; missing folders are
// made at the next start. User-interface thread only.

#include "options/options_page.h"

#include <array>

class QGroupBox;
class QLineEdit;

namespace vistrel {

class CCapturePage : public COptionsPage {
    Q_OBJECT
public:
    explicit CCapturePage(QWidget* parent);

    bool OnApply() override;

private:
    QGroupBox* BuildPathGroup(DialogControls& controls);
    void Connect();
    void Browse(QLineEdit* edit);

    QLineEdit* m_bitmapPath = nullptr;
    QLineEdit* m_iconPath = nullptr;
    QLineEdit* m_aviPath = nullptr;
    std::array<QWidget*, 3> m_browse{};
};

} // namespace vistrel
