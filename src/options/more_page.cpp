#include "options/more_page.h"

#include "base/registry_store.h"
#include "settings/preferences.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QMessageBox>
#include <QVBoxLayout>

#include <string>

namespace vistrel {

namespace {

constexpr char kNotSavedKey[] = "The settings could not be saved.";

QString Text(std::string_view key) { return DialogText(DialogId::More, key); }

} // namespace

CMorePage::CMorePage(QWidget* parent) : COptionsPage(parent)
{
    setWindowTitle("More");
    StackParts({BuildGroup()});
    RegisterControls(DialogId::More, {});
    for (QCheckBox* box : m_boxes)
        connect(box, &QCheckBox::toggled, this, &COptionsPage::changed);
}

QGroupBox* CMorePage::BuildGroup()
{
    auto* group = new QGroupBox(Text("Preferences"), this);
    group->setObjectName("preferencesGroup");
    auto* layout = new QVBoxLayout(group);
    const RegistryStore store(RegistryStore::DefaultPath());
    for (const Preference& preference : Preferences()) {
        auto* box = new QCheckBox(Text(preference.label), group);
        box->setObjectName(QString::fromUtf8(preference.name.data(), int(preference.name.size())));
        box->setToolTip(QString::fromUtf8(preference.help.data(), int(preference.help.size())));
        box->setChecked(ReadPreference(store, preference.name) != 0);
        layout->addWidget(box);
        m_boxes.push_back(box);
    }
    return group;
}

QCheckBox* CMorePage::Box(std::string_view name) const
{
    const auto preferences = Preferences();
    for (size_t i = 0; i < preferences.size(); ++i)
        if (preferences[i].name == name)
            return m_boxes[i];
    return nullptr;
}

bool CMorePage::OnApply()
{
    // Read again: the file holds other values too, which may have changed since.
    RegistryStore store(RegistryStore::DefaultPath());
    const auto preferences = Preferences();
    for (size_t i = 0; i < preferences.size(); ++i)
        store.SetDword(std::string(kPreferencesKey), std::string(preferences[i].name),
                       m_boxes[i]->isChecked() ? 1 : 0);
    if (!store.Save())
        QMessageBox::warning(this, Text("More"), DialogText(DialogId::Option, kNotSavedKey));
    return true;
}

} // namespace vistrel
