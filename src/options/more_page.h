#pragma once
// CMorePage ("More"): one check box for each preference of the preferences
// table, kept in the registry file rather than the settings file, so a new
// preference gets its control from its table row. The boxes show the stored
// values when the page is built; applying writes them all to the registry file
// at once (OK and Apply alike; Cancel writes nothing). A file
// that cannot be written is reported, and the page still accepts.
// User-interface thread only.

#include "options/options_page.h"

#include <vector>

class QCheckBox;
class QGroupBox;

namespace vistrel {

class CMorePage : public COptionsPage {
    Q_OBJECT
public:
    explicit CMorePage(QWidget* parent);

    bool OnApply() override;

    // The box of the named preference; nullptr when there is no such preference.
    QCheckBox* Box(std::string_view name) const;

private:
    QGroupBox* BuildGroup();

    std::vector<QCheckBox*> m_boxes; // in the table's order
};

} // namespace vistrel
