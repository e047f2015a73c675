#include "options/options_page.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace vistrel {

QWidget* COptionsPage::Control(int id) const
{
    const auto found = m_controls.find(id);
    return found == m_controls.end() ? nullptr : found->second;
}

void COptionsPage::StackParts(std::initializer_list<QWidget*> parts)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    for (QWidget* part : parts)
        layout->addWidget(part);
    layout->addStretch(1);
}

QWidget* COptionsPage::DefaultButtonRow(QPushButton*& button)
{
    auto* row = new QWidget(this);
    button = new QPushButton("&Default", row);
    button->setAutoDefault(false);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addStretch(1);
    layout->addWidget(button);
    return row;
}

void COptionsPage::RegisterControls(DialogId id, DialogControls controls)
{
    m_controls = std::move(controls);
    NameControls(m_controls);
    TranslateDialogWidgets(*this, id, m_controls);
}

} // namespace vistrel
