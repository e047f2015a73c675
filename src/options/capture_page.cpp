#include "options/capture_page.h"

#include "settings/env.h"
#include "ui/pictures/pictures.h"

#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QStandardPaths>
#include <QToolButton>

namespace vistrel {

namespace {

enum ControlId : int {
    IDC_BITMAP_LABEL = 1100,
    IDC_ICON_LABEL = 1101,
    IDC_BITMAP_PATH = 1102,
    IDC_ICON_PATH = 1103,
    IDC_AVI_LABEL = 1104,
    IDC_AVI_PATH = 1105,
    IDC_BROWSE_BITMAP = 1014,
    IDC_BROWSE_ICON = 1015,
    IDC_BROWSE_AVI = 1016,
    IDC_PATH_GROUP = 1192,
};

constexpr char kPickerTitleKey[] = "Select a directory:";

QString Qs(const std::string& text) { return QString::fromStdString(text); }

} // namespace

CCapturePage::CCapturePage(QWidget* parent) : COptionsPage(parent)
{
    setWindowTitle("Capture");
    DialogControls controls;
    QGroupBox* group = BuildPathGroup(controls);
    controls[IDC_PATH_GROUP] = group;
    StackParts({group});
    RegisterControls(DialogId::Capture, std::move(controls));
    Connect();
}

QGroupBox* CCapturePage::BuildPathGroup(DialogControls& controls)
{
    struct PathRow {
        int labelId, editId, browseId;
        const char* label;
        const std::string& path;
        QLineEdit*& edit;
    };
    const PathRow rows[] = {
        {IDC_BITMAP_LABEL, IDC_BITMAP_PATH, IDC_BROWSE_BITMAP, "&Bitmap save path:", theEnv.m_strBitmapPath,
         m_bitmapPath},
        {IDC_ICON_LABEL, IDC_ICON_PATH, IDC_BROWSE_ICON, "&Icon save path:", theEnv.m_strIconPath, m_iconPath},
        {IDC_AVI_LABEL, IDC_AVI_PATH, IDC_BROWSE_AVI, "&AVI save path:", theEnv.m_strAviPath, m_aviPath},
    };
    auto* group = new QGroupBox("Save Paths", this);
    auto* grid = new QGridLayout(group);
    int line = 0;
    for (size_t i = 0; i < std::size(rows); ++i) {
        const PathRow& row = rows[i];
        auto* label = new QLabel(row.label, group);
        row.edit = new QLineEdit(Qs(row.path), group);
        row.edit->setMinimumWidth(fontMetrics().horizontalAdvance(QString(36, 'x')));
        auto* browse = new QToolButton(group);
        browse->setIcon(FolderPicture(true));
        browse->setToolTip(DialogText(DialogId::Capture, kPickerTitleKey));
        label->setBuddy(row.edit);
        m_browse[i] = browse;
        grid->addWidget(label, line++, 0, 1, 2);
        grid->addWidget(row.edit, line, 0);
        grid->addWidget(browse, line++, 1);
        controls[row.labelId] = label;
        controls[row.editId] = row.edit;
        controls[row.browseId] = browse;
    }
    return group;
}

void CCapturePage::Connect()
{
    const std::array<QLineEdit*, 3> edits = {m_bitmapPath, m_iconPath, m_aviPath};
    for (size_t i = 0; i < edits.size(); ++i) {
        connect(edits[i], &QLineEdit::textEdited, this, &COptionsPage::changed);
        connect(static_cast<QToolButton*>(m_browse[i]), &QToolButton::clicked, this,
                [this, edit = edits[i]] { Browse(edit); });
    }
}

void CCapturePage::Browse(QLineEdit* edit)
{
    const QString start = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    const QString folder = QFileDialog::getExistingDirectory(this, DialogText(DialogId::Capture, kPickerTitleKey),
                                                             start, QFileDialog::ShowDirsOnly);
    if (folder.isEmpty())
        return;
    edit->setText(folder);
    emit changed();
}

bool CCapturePage::OnApply()
{
    theEnv.m_strBitmapPath = m_bitmapPath->text().toStdString();
    theEnv.m_strAviPath = m_aviPath->text().toStdString();
    theEnv.m_strIconPath = m_iconPath->text().toStdString();
    return true;
}

} // namespace vistrel
