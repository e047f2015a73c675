#include "options/general_page.h"

#include "options/core/autostart_entry.h"
#include "settings/env.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QRadioButton>
#include <QStyle>
#include <QVBoxLayout>

namespace vistrel {

namespace {

enum ControlId : int {
    IDC_AUTORUN = 1140,
    IDC_HIDE_SELF = 1142,
    IDC_MAGNIFIER = 1143,
    IDC_AUTO_SAVE = 1144,
    IDC_REMINDER = 1148,
    IDC_JPEG = 1151,
    IDC_BITMAP = 1152,
    IDC_TIFF = 1051,
    IDC_PNG = 1052,
    IDC_PROGRAM_GROUP = 1189,
    IDC_TYPE_GROUP = 1190,
    IDC_NOTE = 1191,
};

constexpr char kAutorunFailedKey[] = "Can not open the special register key";

void Check(QCheckBox* box, int32_t flag) { box->setChecked(flag != 0); }
int32_t Flag(const QCheckBox* box) { return box->checkState() == Qt::Checked ? 1 : 0; }

} // namespace

CGeneralPage::CGeneralPage(QWidget* parent, std::string program, std::string autostartPath)
    : COptionsPage(parent), m_program(std::move(program)), m_autostartPath(std::move(autostartPath))
{
    setWindowTitle("General");
    QGroupBox* programGroup = BuildProgramGroup();
    QGroupBox* typeGroup = BuildTypeGroup();
    QLabel* note = nullptr;
    StackParts({programGroup, typeGroup, BuildNote(note)});
    RegisterControls(DialogId::General, {
        {IDC_AUTORUN, m_autorun},   {IDC_HIDE_SELF, m_hideSelf},   {IDC_MAGNIFIER, m_magnifier},
        {IDC_AUTO_SAVE, m_autoSave}, {IDC_REMINDER, m_reminder},   {IDC_JPEG, m_jpeg},
        {IDC_BITMAP, m_bitmap},     {IDC_TIFF, m_tiff},            {IDC_PNG, m_png},
        {IDC_PROGRAM_GROUP, programGroup}, {IDC_TYPE_GROUP, typeGroup},      {IDC_NOTE, note},
    });
    Connect();
}

QGroupBox* CGeneralPage::BuildProgramGroup()
{
    auto* group = new QGroupBox("Application Program", this);
    m_autorun = new QCheckBox("Autorun program when windows starting", group);
    m_hideSelf = new QCheckBox("Hide self when capturing", group);
    m_magnifier = new QCheckBox("Show magnifier when capturing", group);
    m_reminder = new QCheckBox("Show reminder before window capturing", group);
    m_autoSave = new QCheckBox("Auto save bitmaps when exit program", group);
    m_autoSave->hide(); // kept for the setting; the program has nothing to save at exit
    Check(m_autorun, theEnv.m_bAutorun);
    Check(m_hideSelf, theEnv.m_bHideSelf);
    Check(m_magnifier, theEnv.m_bShowMagnifier);
    Check(m_reminder, theEnv.m_bShowReminder);
    Check(m_autoSave, theEnv.m_bAutoSaveOnExit);
    auto* layout = new QVBoxLayout(group);
    for (QCheckBox* box : {m_autorun, m_hideSelf, m_magnifier, m_reminder, m_autoSave})
        layout->addWidget(box);
    return group;
}

QGroupBox* CGeneralPage::BuildTypeGroup()
{
    auto* group = new QGroupBox("Capture Type", this);
    m_bitmap = new QRadioButton("Capture as Bitmap File", group);
    m_jpeg = new QRadioButton("Capture as Jpeg File", group);
    m_tiff = new QRadioButton("Capture as TIFF File", group);
    m_png = new QRadioButton("Capture as PNG File", group);
    // Any other stored type (GIF) checks none, and stays as it is.
    switch (theEnv.m_nCaptureType) {
    case 0: m_bitmap->setChecked(true); break;
    case 2: m_jpeg->setChecked(true); break;
    case 5: m_tiff->setChecked(true); break;
    case 3: m_png->setChecked(true); break;
    default: break;
    }
    auto* layout = new QGridLayout(group);
    layout->addWidget(m_bitmap, 0, 0);
    layout->addWidget(m_jpeg, 0, 1);
    layout->addWidget(m_tiff, 1, 0);
    layout->addWidget(m_png, 1, 1);
    return group;
}

QWidget* CGeneralPage::BuildNote(QLabel*& text)
{
    auto* note = new QWidget(this);
    auto* icon = new QLabel(note);
    const int side = style()->pixelMetric(QStyle::PM_SmallIconSize);
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(side, side));
    text = new QLabel("Don't use Jpeg under 256 colors mode", note);
    text->setWordWrap(true);
    auto* layout = new QHBoxLayout(note);
    layout->setContentsMargins(4, 0, 0, 0);
    layout->addWidget(icon);
    layout->addWidget(text, 1);
    return note;
}

void CGeneralPage::Connect()
{
    for (QCheckBox* box : {m_autorun, m_hideSelf, m_magnifier, m_reminder, m_autoSave})
        connect(box, &QCheckBox::toggled, this, &COptionsPage::changed);
    for (QRadioButton* radio : {m_bitmap, m_jpeg, m_tiff, m_png})
        connect(radio, &QRadioButton::toggled, this, &COptionsPage::changed);
}

bool CGeneralPage::OnApply()
{
    theEnv.m_bAutorun = Flag(m_autorun);
    theEnv.m_bAutoSaveOnExit = Flag(m_autoSave);
    theEnv.m_bHideSelf = Flag(m_hideSelf);
    theEnv.m_bShowMagnifier = Flag(m_magnifier);
    theEnv.m_bShowReminder = Flag(m_reminder);
    if (m_bitmap->isChecked())
        theEnv.m_nCaptureType = 0;
    else if (m_jpeg->isChecked())
        theEnv.m_nCaptureType = 2;
    else if (m_tiff->isChecked())
        theEnv.m_nCaptureType = 5;
    else if (m_png->isChecked())
        theEnv.m_nCaptureType = 3;
    WriteAutostart();
    return true;
}

void CGeneralPage::WriteAutostart()
{
    const bool done = theEnv.m_bAutorun ? WriteAutostartEntry(m_autostartPath, m_program)
                                        : RemoveAutostartEntry(m_autostartPath);
    if (!done)
        QMessageBox::warning(this, DialogText(DialogId::General, "General"),
                             DialogText(DialogId::General, kAutorunFailedKey));
}

} // namespace vistrel
