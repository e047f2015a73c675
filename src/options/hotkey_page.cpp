#include "options/hotkey_page.h"

#include "i18n/translate.h"
#include "options/hotkey_field.h"
#include "settings/env.h"
#include "ui/pictures/pictures.h"

#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QStyle>

#include <algorithm>

namespace vistrel {

namespace {

enum ControlId : int { IDC_DEFAULT = 1122, IDC_KEY_GROUP = 1197 };

constexpr char kRepeatedKeyKey[] = "All these hotkeys can not be the same!\\nPlease try again!";

struct Row {
    int fieldId;
    int labelId;
    const char* label;
    HotkeySetting CEnv::*setting;
    int hotkeyId; // what it is registered under
};

// In the page's order; Full Screen first, as the duplicate rule needs.
constexpr Row kKeyRows[] = {
    {1108, IDC_HOTKEY_LABEL_FULLSCREEN, "Capture &Full Screen:", &CEnv::m_hkFullScreen, HOTKEY_FULLSCREEN},
    {1014, IDC_HOTKEY_LABEL_RECTANGLE, "Capture &Rectangle:", &CEnv::m_hkRectangle, HOTKEY_RECTANGLE},
    {1015, IDC_HOTKEY_LABEL_CIRCLE, "Capture &Circle:", &CEnv::m_hkCircle, HOTKEY_CIRCLE},
    {1016, IDC_HOTKEY_LABEL_ELLIPSE, "Capture &Ellipse:", &CEnv::m_hkEllipse, HOTKEY_ELLIPSE},
    {1017, IDC_HOTKEY_LABEL_POLYGON, "Capture &Polygon:", &CEnv::m_hkPolygon, HOTKEY_POLYGON},
    {1018, IDC_HOTKEY_LABEL_OBJECT, "Capture &Window&&Control:", &CEnv::m_hkObject, HOTKEY_OBJECT},
    {1019, IDC_HOTKEY_LABEL_AVI, "AVI Recording:", &CEnv::m_hkAvi, HOTKEY_AVI},
    {1020, IDC_HOTKEY_LABEL_TIMER, "Timer Capture:", &CEnv::m_hkTimer, HOTKEY_TIMER},
};
static_assert(std::size(kKeyRows) == CHotkeyPage::kRows);

bool IsSwallowedKey(const QEvent& event)
{
    if (event.type() != QEvent::KeyPress && event.type() != QEvent::ShortcutOverride)
        return false;
    const int key = static_cast<const QKeyEvent&>(event).key();
    return key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape;
}

} // namespace

CHotkeyPage::CHotkeyPage(QWidget* parent) : COptionsPage(parent)
{
    setWindowTitle("Hotkeys");
    DialogControls controls;
    QGroupBox* group = BuildKeyGroup(controls);
    QPushButton* defaults = nullptr;
    StackParts({group, DefaultButtonRow(defaults)});
    controls[IDC_KEY_GROUP] = group;
    controls[IDC_DEFAULT] = defaults;
    LoadFields();
    theEnv.UnregisterHotkeys(false);
    RegisterControls(DialogId::Hotkeys, std::move(controls));
    Connect();
    MarkTakenKeys(theEnv.TakenHotkeys());
}

CHotkeyPage::~CHotkeyPage() { theEnv.RegisterHotkeys(false); }

QGroupBox* CHotkeyPage::BuildKeyGroup(DialogControls& controls)
{
    auto* group = new QGroupBox("Capture Hotkeys", this);
    auto* grid = new QGridLayout(group);
    auto* icon = new QLabel(group);
    const int side = style()->pixelMetric(QStyle::PM_LargeIconSize);
    icon->setPixmap(ApplicationIcon().pixmap(side, side));
    grid->addWidget(icon, 0, 0, int(kRows), 1, Qt::AlignTop);
    for (size_t i = 0; i < kRows; ++i) {
        auto* label = new QLabel(kKeyRows[i].label, group);
        m_fields[i] = new CHotKeyField(group);
        m_fields[i]->setMinimumWidth(fontMetrics().horizontalAdvance("Ctrl+Shift+Alt+Print") + 16);
        label->setBuddy(m_fields[i]);
        m_marks[i] = BuildTakenMark(group, kKeyRows[i].fieldId);
        grid->addWidget(label, int(i), 1);
        grid->addWidget(m_fields[i], int(i), 2);
        grid->addWidget(m_marks[i], int(i), 3);
        controls[kKeyRows[i].labelId] = label;
        controls[kKeyRows[i].fieldId] = m_fields[i];
    }
    grid->setColumnStretch(2, 1);
    return group;
}

QWidget* CHotkeyPage::BuildTakenMark(QWidget* parent, int fieldId)
{
    auto* mark = new QWidget(parent);
    mark->setObjectName(QString("taken%1").arg(fieldId));
    auto* icon = new QLabel(mark);
    const int side = style()->pixelMetric(QStyle::PM_SmallIconSize);
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(side, side));
    auto* text = new QLabel(DialogText(DialogId::Hotkeys, kTakenHotkeyMarkKey), mark);
    auto* layout = new QHBoxLayout(mark);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(icon);
    layout->addWidget(text);
    mark->hide();
    return mark;
}

void CHotkeyPage::MarkTakenKeys(const std::vector<int>& takenIds)
{
    for (size_t i = 0; i < kRows; ++i)
        m_marks[i]->setVisible(std::find(takenIds.begin(), takenIds.end(), kKeyRows[i].hotkeyId) != takenIds.end());
}

void CHotkeyPage::Connect()
{
    installEventFilter(this);
    for (QWidget* child : findChildren<QWidget*>())
        child->installEventFilter(this);
    for (size_t i = 0; i < kRows; ++i) {
        connect(m_fields[i], &CHotKeyField::valueChanged, this, &COptionsPage::changed);
        // The mark was about the key the field held.
        connect(m_fields[i], &CHotKeyField::valueChanged, m_marks[i], &QWidget::hide);
    }
    connect(static_cast<QPushButton*>(Control(IDC_DEFAULT)), &QPushButton::clicked, this, &CHotkeyPage::OnDefault);
}

bool CHotkeyPage::eventFilter(QObject* watched, QEvent* event)
{
    if (IsSwallowedKey(*event)) {
        event->accept();
        return true;
    }
    return COptionsPage::eventFilter(watched, event);
}

void CHotkeyPage::LoadFields()
{
    for (size_t i = 0; i < kRows; ++i)
        m_fields[i]->setValue(FieldValueFromSetting(theEnv.*kKeyRows[i].setting));
}

bool CHotkeyPage::OnApply()
{
    std::array<HotkeyFieldValue, kRows> values;
    for (size_t i = 0; i < kRows; ++i)
        values[i] = m_fields[i]->value();
    if (FullScreenKeyRepeated(values)) {
        QMessageBox::warning(this, DialogText(DialogId::Hotkeys, "Hotkeys"),
                             QString::fromStdString(DialogLineBreaks(
                                 DialogText(DialogId::Hotkeys, kRepeatedKeyKey).toStdString())));
        return false;
    }
    for (size_t i = 0; i < kRows; ++i)
        theEnv.*kKeyRows[i].setting = SettingFromFieldValue(values[i]);
    // Try the new keys at once, so the page can tell which are held elsewhere;
    // they stay let go while the page is open.
    theEnv.RegisterHotkeys(false);
    theEnv.UnregisterHotkeys(false);
    MarkTakenKeys(theEnv.TakenHotkeys());
    return true;
}

void CHotkeyPage::OnDefault()
{
    // The fields show the defaults; the record keeps what the fields showed
    // until the page is applied.
    std::array<HotkeySetting, kRows> shown;
    for (size_t i = 0; i < kRows; ++i)
        shown[i] = SettingFromFieldValue(m_fields[i]->value());
    theEnv.SetDefaultHotkeys();
    LoadFields();
    for (size_t i = 0; i < kRows; ++i)
        theEnv.*kKeyRows[i].setting = shown[i];
    emit changed();
}

} // namespace vistrel
