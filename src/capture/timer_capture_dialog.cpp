#include "capture/timer_capture_dialog.h"

#include "commands/command_ids.h"
#include "i18n/translate.h"
#include "platform/qt/key_names.h"
#include "settings/env.h"
#include "ui/dialog_texts.h"
#include "ui/pictures/pictures.h"
#include "ui/record_region_window.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace vistrel {

namespace {

enum ControlId : int {
    IDC_OK = 1,
    IDC_CANCEL = 2,
    IDC_SELECT_REGION = 1014,
    IDC_INTERVAL = 1084,
    IDC_CAPTURE_GROUP = 1085,
    IDC_WIDTH = 1086,
    IDC_HEIGHT = 1087,
    IDC_FULL_SCREEN = 1088,
    IDC_REGION = 1089,
    IDC_WIDTH_LABEL = 1090,
    IDC_HEIGHT_LABEL = 1091,
    IDC_X_LABEL = 1092,
    IDC_Y_LABEL = 1093,
    IDC_X = 1094,
    IDC_Y = 1095,
    IDC_SHOW_MOUSE = 1096,
    IDC_HIDE_PROGRAM = 1097,
    IDC_STOP_HINT = 1173,
};

constexpr int kRegionControls[] = {IDC_WIDTH,       IDC_HEIGHT,  IDC_X,       IDC_Y,
                                   IDC_WIDTH_LABEL, IDC_HEIGHT_LABEL, IDC_X_LABEL, IDC_Y_LABEL,
                                   IDC_SELECT_REGION};

constexpr int kDefaultIntervalSeconds = 5;

// The dialog's own text for a refusal of the timer's rules.
const char* RefusalKey(TimerSettingsError error)
{
    switch (error) {
    case TimerSettingsError::IntervalTooShort:
    case TimerSettingsError::IntervalTooLong: return "The interval must be from 1 to 86400 seconds.";
    case TimerSettingsError::EmptyRegion: return "The width and the height must be at least 1.";
    case TimerSettingsError::OffScreen:
    case TimerSettingsError::ScreenTooLarge: break;
    }
    return "No part of the region is on the screen.";
}

} // namespace

CTimerCaptureDlg::CTimerCaptureDlg(const CEnv& env, int screenWidth, int screenHeight, QWidget* parent)
    : QDialog(parent), m_screenWidth(screenWidth), m_screenHeight(screenHeight),
      m_selector(std::make_unique<CRecordRegionWnd>(this))
{
    setObjectName("timerCaptureDialog");
    setWindowTitle("Timer Capture");
    setWindowIcon(MenuPicture(ID_CAPTURE_TIMER));
    auto* layout = new QVBoxLayout(this);
    BuildIntervalRow(layout);
    BuildRegionGroup(layout);
    BuildOptions(layout);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton("&Capture", QDialogButtonBox::AcceptRole);
    QPushButton* cancel = buttons->addButton("Cancel", QDialogButtonBox::RejectRole);
    ok->setDefault(true);
    m_controls[IDC_OK] = ok;
    m_controls[IDC_CANCEL] = cancel;
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    NameControls(m_controls);
    TranslateDialogWidgets(*this, DialogId::TimerCapture, m_controls);
    // The key is named after translation: the text may place it anywhere.
    auto* hint = static_cast<QLabel*>(m_controls[IDC_STOP_HINT]);
    hint->setText(QString::fromStdString(
        ReplaceHotkeyPlaceholder(hint->text().toStdString(), HotkeyToText(env.m_hkTimer, NativeKeyName))));

    ShowSettings({kDefaultIntervalSeconds, 0, 0, screenWidth, screenHeight, true, false, true});
    m_fullScreen->setChecked(true);
    SetRegionControlsEnabled(false);
}

CTimerCaptureDlg::~CTimerCaptureDlg() = default;

QLineEdit* CTimerCaptureDlg::NumberField(int id, int value)
{
    auto* field = new QLineEdit(QString::number(value), this);
    field->setMaxLength(12);
    m_controls[id] = field;
    return field;
}

void CTimerCaptureDlg::BuildIntervalRow(QVBoxLayout* layout)
{
    auto* row = new QHBoxLayout;
    auto* label = new QLabel("Capture &Interval:", this);
    m_interval = NumberField(IDC_INTERVAL, kDefaultIntervalSeconds);
    label->setBuddy(m_interval);
    auto* seconds = new QLabel("Seconds", this);
    m_controls[IDC_TIMER_INTERVAL_LABEL] = label;
    m_controls[IDC_TIMER_SECONDS_LABEL] = seconds;
    row->addWidget(label);
    row->addWidget(m_interval);
    row->addWidget(seconds);
    layout->addLayout(row);
}

void CTimerCaptureDlg::BuildRegionGroup(QVBoxLayout* layout)
{
    auto* group = new QGroupBox("Capture", this);
    m_controls[IDC_CAPTURE_GROUP] = group;
    auto* grid = new QGridLayout(group);
    m_fullScreen = new QRadioButton("&Full Screen Capture", group);
    m_region = new QRadioButton("&Region Capture", group);
    m_controls[IDC_FULL_SCREEN] = m_fullScreen;
    m_controls[IDC_REGION] = m_region;
    grid->addWidget(m_fullScreen, 0, 0, 1, 4);
    grid->addWidget(m_region, 1, 0, 1, 4);
    const struct {
        int labelId, fieldId;
        const char* text;
        QLineEdit** field;
        int row, column;
    } fields[] = {
        {IDC_X_LABEL, IDC_X, "&X:", &m_x, 2, 0},
        {IDC_Y_LABEL, IDC_Y, "&Y:", &m_y, 2, 2},
        {IDC_WIDTH_LABEL, IDC_WIDTH, "&Width:", &m_width, 3, 0},
        {IDC_HEIGHT_LABEL, IDC_HEIGHT, "Hei&ght:", &m_height, 3, 2},
    };
    for (const auto& f : fields) {
        auto* label = new QLabel(f.text, group);
        *f.field = NumberField(f.fieldId, 0);
        label->setBuddy(*f.field);
        m_controls[f.labelId] = label;
        grid->addWidget(label, f.row, f.column);
        grid->addWidget(*f.field, f.row, f.column + 1);
    }
    auto* select = new QPushButton("&Select Region", group);
    m_controls[IDC_SELECT_REGION] = select;
    grid->addWidget(select, 4, 0, 1, 4, Qt::AlignRight);
    connect(m_fullScreen, &QRadioButton::toggled, this, [this](bool on) { SetRegionControlsEnabled(!on); });
    connect(select, &QPushButton::clicked, this, &CTimerCaptureDlg::OnSelectRegion);
    layout->addWidget(group);
}

void CTimerCaptureDlg::BuildOptions(QVBoxLayout* layout)
{
    m_showMouse = new QCheckBox("Show &Mouse while capturing", this);
    m_hideProgram = new QCheckBox("&Hide program on start capturing", this);
    m_controls[IDC_SHOW_MOUSE] = m_showMouse;
    m_controls[IDC_HIDE_PROGRAM] = m_hideProgram;
    auto* hint = new QLabel("Press %s to stop capture", this);
    QFont heavy = hint->font();
    heavy.setWeight(QFont::Black);
    hint->setFont(heavy);
    m_controls[IDC_STOP_HINT] = hint;
    layout->addWidget(m_showMouse);
    layout->addWidget(m_hideProgram);
    layout->addWidget(hint);
}

void CTimerCaptureDlg::SetRegionControlsEnabled(bool enabled)
{
    for (int id : kRegionControls)
        m_controls[id]->setEnabled(enabled);
}

void CTimerCaptureDlg::ShowSettings(const TimerCaptureSettings& s)
{
    m_interval->setText(QString::number(s.intervalSeconds));
    m_x->setText(QString::number(s.x));
    m_y->setText(QString::number(s.y));
    m_width->setText(QString::number(s.width));
    m_height->setText(QString::number(s.height));
    m_showMouse->setChecked(s.showMouse);
    m_hideProgram->setChecked(s.hideProgram);
}

void CTimerCaptureDlg::OnSelectRegion()
{
    if (m_selector->selecting())
        return;
    // The recording's own region is not touched: the choice comes back here only.
    m_selector->BeginCustom([this](std::optional<RecordRegion> region) {
        if (!region)
            return;
        TimerCaptureSettings s;
        SetRegionFromCorners(s, region->left, region->top, region->right, region->bottom);
        m_x->setText(QString::number(s.x));
        m_y->setText(QString::number(s.y));
        m_width->setText(QString::number(s.width));
        m_height->setText(QString::number(s.height));
    });
}

void CTimerCaptureDlg::Refuse(const QString& text, QWidget* field)
{
    QMessageBox::warning(this, windowTitle(), text);
    if (field) {
        field->setFocus();
        if (auto* edit = qobject_cast<QLineEdit*>(field))
            edit->selectAll();
    }
}

std::optional<TimerCaptureSettings> CTimerCaptureDlg::ReadFields()
{
    TimerCaptureSettings s;
    s.fullScreen = m_fullScreen->isChecked();
    s.showMouse = m_showMouse->isChecked();
    s.hideProgram = m_hideProgram->isChecked();
    // The region's fields count only for a region capture.
    const std::pair<QLineEdit*, int*> fields[] = {
        {m_interval, &s.intervalSeconds}, {m_width, &s.width}, {m_height, &s.height}, {m_x, &s.x}, {m_y, &s.y}};
    for (const auto& [field, value] : fields) {
        if (s.fullScreen && field != m_interval)
            continue;
        const auto number = ParseWholeNumber(field->text().trimmed().toStdString());
        if (!number) {
            Refuse(DialogText(DialogId::TimerCapture, "Please enter an integer."), field);
            return std::nullopt;
        }
        *value = *number;
    }
    return s;
}

void CTimerCaptureDlg::accept()
{
    const auto settings = ReadFields();
    if (!settings)
        return;
    const TimerPlanResult result = PlanTimerCapture(*settings, m_screenWidth, m_screenHeight);
    if (const auto* problem = std::get_if<TimerSettingsError>(&result)) {
        const bool interval =
            *problem == TimerSettingsError::IntervalTooShort || *problem == TimerSettingsError::IntervalTooLong;
        Refuse(DialogText(DialogId::TimerCapture, RefusalKey(*problem)), interval ? m_interval : m_width);
        return;
    }
    m_plan = std::get<TimerPlan>(result);
    QDialog::accept();
}

void CTimerCaptureDlg::done(int result)
{
    if (m_selector->selecting())
        m_selector->Cancel();
    QDialog::done(result);
}

} // namespace vistrel
