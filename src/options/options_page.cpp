#include "options/options_page.h"

namespace vistrel {

QWidget* COptionsPage::Control(int id) const
{
    const auto found = m_controls.find(id);
    return found == m_controls.end() ? nullptr : found->second;
}

void COptionsPage::RegisterControls(DialogId id, DialogControls controls)
{
    m_controls = std::move(controls);
    NameControls(m_controls);
    TranslateDialogWidgets(*this, id, m_controls);
}

} // namespace vistrel
