#include "options/color_page.h"

#include "settings/env.h"
#include "ui/color_picker.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

namespace vistrel {

namespace {

enum ControlId : int {
    IDC_DEFAULT = 1014,
    IDC_BITMAP_BACK = 1107,
    IDC_PREVIEW_BACK = 1117,
    IDC_COLOR_GROUP = 1123,
    IDC_BITMAP_NOTE = 1124,
    IDC_PREVIEW_NOTE = 1125,
    IDC_BITMAP_LABEL = 1193,
    IDC_PREVIEW_LABEL = 1194,
};

} // namespace

CColorPage::CColorPage(QWidget* parent) : COptionsPage(parent)
{
    setWindowTitle("Colors");
    DialogControls controls;
    QGroupBox* group = BuildColorGroup(controls);
    QPushButton* defaults = nullptr;
    StackParts({group, DefaultButtonRow(defaults)});
    controls[IDC_COLOR_GROUP] = group;
    controls[IDC_DEFAULT] = defaults;
    RegisterControls(DialogId::Colors, std::move(controls));
    Connect();
}

QGroupBox* CColorPage::BuildColorGroup(DialogControls& controls)
{
    auto* group = new QGroupBox("Colors", this);
    auto* grid = new QGridLayout(group);
    struct ColorRow {
        int noteId, labelId, pickerId;
        const char* note;
        const char* label;
        uint32_t color;
        CColorPicker*& picker;
    };
    const ColorRow rows[] = {
        {IDC_BITMAP_NOTE, IDC_BITMAP_LABEL, IDC_BITMAP_BACK,
         "The bitmap background color indicate to the area that outside the captured region while capture "
         "ellipse and polygon bitmap",
         "Bit&map Background Color:", theEnv.m_crBitmapBack, m_bitmapBack},
        {IDC_PREVIEW_NOTE, IDC_PREVIEW_LABEL, IDC_PREVIEW_BACK, "The preview window backgound color",
         "&Preview Background Color:", theEnv.m_crPreviewBack, m_previewBack},
    };
    int line = 0;
    for (const ColorRow& row : rows) {
        auto* note = new QLabel(row.note, group);
        note->setWordWrap(true);
        auto* label = new QLabel(row.label, group);
        row.picker = new CColorPicker(group);
        row.picker->SetColor(row.color);
        label->setBuddy(row.picker);
        grid->addWidget(note, line++, 0, 1, 2);
        grid->addWidget(label, line, 0);
        grid->addWidget(row.picker, line++, 1, Qt::AlignLeft);
        grid->setRowMinimumHeight(line++, 8);
        controls[row.noteId] = note;
        controls[row.labelId] = label;
        controls[row.pickerId] = row.picker;
    }
    grid->setColumnStretch(1, 1);
    return group;
}

void CColorPage::Connect()
{
    for (CColorPicker* picker : {m_bitmapBack, m_previewBack})
        connect(picker, &CColorPicker::colorChanged, this, &COptionsPage::changed);
    connect(static_cast<QPushButton*>(Control(IDC_DEFAULT)), &QPushButton::clicked, this, &CColorPage::OnDefault);
}

void CColorPage::OnDefault()
{
    const CEnv defaults;
    m_bitmapBack->SetColor(defaults.m_crBitmapBack);
    m_previewBack->SetColor(defaults.m_crPreviewBack);
    emit changed();
}

bool CColorPage::OnApply()
{
    theEnv.m_crBitmapBack = m_bitmapBack->GetColor();
    theEnv.m_crPreviewBack = m_previewBack->GetColor();
    return true;
}

} // namespace vistrel
