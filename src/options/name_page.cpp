#include "options/name_page.h"

#include "options/core/name_rules.h"
#include "settings/env.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>

namespace vistrel {

namespace {

struct GroupIds {
    const char* title;
    int group, byTime, name, pattern, number, example;
    int labels[4]; // "Name", "Suffix", "Start by", "For example:"
};

constexpr GroupIds kGroupIds[] = {
    {"Bitmap save name", 1126, 1132, 1129, 1133, 1134, 1136, {1137, 1138, 1139, IDC_NAME_EXAMPLE_LABEL_BITMAP}},
    {"AVI save name", 1128, 1140, 1130, 1143, 1144, 1147, {1141, 1142, 1146, IDC_NAME_EXAMPLE_LABEL_AVI}},
};

QString Qs(std::string_view text) { return QString::fromUtf8(text.data(), qsizetype(text.size())); }

} // namespace

CNamePage::Stored CNamePage::Settings(int which)
{
    if (which == 0)
        return {theEnv.m_bBitmapNameByTime, theEnv.m_strBitmapName, theEnv.m_strBitmapSuffix, theEnv.m_nBitmapNumber};
    return {theEnv.m_bAviNameByTime, theEnv.m_strAviName, theEnv.m_strAviSuffix, theEnv.m_nAviNumber};
}

CNamePage::CNamePage(QWidget* parent) : COptionsPage(parent)
{
    setWindowTitle("Save Names");
    DialogControls controls;
    QGroupBox* bitmapGroup = BuildGroup(m_bitmap, 0, controls);
    StackParts({bitmapGroup, BuildGroup(m_avi, 1, controls)});
    RegisterControls(DialogId::SaveNames, std::move(controls));
    Connect(m_bitmap);
    Connect(m_avi);
}

QGroupBox* CNamePage::BuildGroup(NameGroup& group, int which, DialogControls& controls)
{
    const GroupIds& ids = kGroupIds[which];
    const Stored stored = Settings(which);
    auto* box = new QGroupBox(ids.title, this);
    group.byTime = new QCheckBox("Generate by &time", box);
    auto* timeExample = new QLabel(Qs(std::string(kTimeExampleStem) + group.extension), box);
    timeExample->setEnabled(false);
    group.name = new QLineEdit(Qs(stored.name), box);
    group.pattern = new QLineEdit(Qs(stored.pattern), box);
    group.number = new QSpinBox(box);
    group.number->setRange(0, kMaxStartNumber);
    group.number->setValue(StartNumberFromStored(stored.number));
    group.example = new QLineEdit(box);
    group.example->setReadOnly(true);
    group.byTime->setChecked(stored.byTime != 0);
    const char* labelTexts[4] = {"Name", "Suffix", "Start by", "For example:"};
    QWidget* fields[4] = {group.name, group.pattern, group.number, group.example};

    auto* grid = new QGridLayout(box);
    auto* timeRow = new QHBoxLayout;
    timeRow->addWidget(group.byTime);
    timeRow->addWidget(timeExample, 1);
    grid->addLayout(timeRow, 0, 0, 1, 4);
    for (int i = 0; i < 4; ++i) {
        group.labels[i] = new QLabel(labelTexts[i], box);
        group.labels[i]->setBuddy(fields[i]);
        controls[ids.labels[i]] = group.labels[i];
        // Two pairs a line: name and pattern, then number and example.
        grid->addWidget(group.labels[i], 1 + i / 2, (i % 2) * 2);
        grid->addWidget(fields[i], 1 + i / 2, (i % 2) * 2 + 1);
    }
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    controls[ids.group] = box;
    controls[ids.byTime] = group.byTime;
    controls[ids.name] = group.name;
    controls[ids.pattern] = group.pattern;
    controls[ids.number] = group.number;
    controls[ids.example] = group.example;
    UpdateExample(group);
    EnableGroup(group);
    return box;
}

void CNamePage::Connect(NameGroup& group)
{
    connect(group.byTime, &QCheckBox::toggled, this, [this, &group] {
        EnableGroup(group);
        emit changed();
    });
    auto edited = [this, &group] {
        UpdateExample(group);
        emit changed();
    };
    connect(group.name, &QLineEdit::textEdited, this, edited);
    connect(group.pattern, &QLineEdit::textEdited, this, edited);
    connect(group.number, &QSpinBox::valueChanged, this, edited);
}

void CNamePage::UpdateExample(NameGroup& group)
{
    group.example->setText(Qs(ExampleName(group.name->text().toStdString(), group.pattern->text().toStdString(),
                                          group.extension, group.number->value())));
}

void CNamePage::EnableGroup(NameGroup& group)
{
    const bool numbered = !group.byTime->isChecked();
    for (QWidget* widget : {static_cast<QWidget*>(group.name), static_cast<QWidget*>(group.pattern),
                            static_cast<QWidget*>(group.number), static_cast<QWidget*>(group.example)})
        widget->setEnabled(numbered);
    for (QLabel* label : group.labels)
        label->setEnabled(numbered);
}

void CNamePage::ApplyGroup(const NameGroup& group, const Stored& stored)
{
    stored.byTime = group.byTime->isChecked() ? 1 : 0;
    stored.name = group.name->text().toStdString();
    stored.pattern = DigitPatternRun(group.pattern->text().toStdString());
    stored.number = StoredFromStartNumber(group.number->value());
}

bool CNamePage::OnApply()
{
    ApplyGroup(m_bitmap, Settings(0));
    ApplyGroup(m_avi, Settings(1));
    return true;
}

} // namespace vistrel
