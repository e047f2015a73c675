#include "options/color_page.h"
#include "options/general_page.h"
#include "options/hotkey_field.h"
#include "options/hotkey_page.h"
#include "options/more_page.h"
#include "options/name_page.h"
#include "options/options_sheet.h"
#include "options/tool_list_page.h"
#include "base/registry_store.h"
#include "settings/env.h"
#include "settings/preferences.h"
#include "ui/color_picker.h"
#include "../unit/file_text.h"
#include "../unit/temp_home.h"
#include "qt_test_support.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <filesystem>

using namespace vistrel;

namespace {

// Every test starts from the defaults and leaves theEnv as it found it.
class OptionsSheet : public testing::Test {
protected:
    void SetUp() override
    {
        m_saved = theEnv;
        theEnv = CEnv();
    }
    void TearDown() override { theEnv = m_saved; }

    // A sheet with the seven pages; saves counts the writes of the settings file.
    std::unique_ptr<CTPropertySheet> MakeSheet(OptionsStart start = OptionsStart::General)
    {
        auto sheet = std::make_unique<CTPropertySheet>(nullptr, [this] {
            ++saves;
            return true;
        });
        FillOptionsSheet(*sheet, m_home.file("autostart/vistrel.desktop"), start);
        sheet->show();
        return sheet;
    }
    template <typename Page>
    Page* PageAt(CTPropertySheet& sheet, int index)
    {
        return dynamic_cast<Page*>(sheet.host().GetPage(index));
    }
    static CHotKeyField* Field(COptionsPage& page, int id) { return static_cast<CHotKeyField*>(page.Control(id)); }
    static void Press(QWidget& widget, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QKeyEvent press(QEvent::KeyPress, key, modifiers);
        QApplication::sendEvent(&widget, &press);
    }

    int saves = 0;
    test::TempHome m_home;

private:
    CEnv m_saved;
};

constexpr int kGeneral = 0, kCapture = 1, kColors = 2, kNames = 3, kHotkeys = 4, kBitmapTools = 5, kAviTools = 6,
              kMore = 7;
constexpr int kFullScreenField = 1108, kRectangleField = 1014, kCircleField = 1015;

} // namespace

TEST_F(OptionsSheet, OpensOnGeneralWithColorsAndNamesUnderCapture)
{
    auto sheet = MakeSheet();
    QTreeWidget* tree = sheet->tree();
    ASSERT_EQ(tree->topLevelItemCount(), 6);
    EXPECT_EQ(tree->currentItem()->text(0), "General");
    EXPECT_EQ(sheet->host().current(), sheet->host().GetPage(kGeneral));
    QTreeWidgetItem* capture = tree->topLevelItem(1);
    EXPECT_EQ(capture->text(0), "Capture");
    ASSERT_EQ(capture->childCount(), 2);
    EXPECT_EQ(capture->child(0)->text(0), "Colors");
    EXPECT_EQ(capture->child(1)->text(0), "Save Names");
    EXPECT_EQ(tree->topLevelItem(2)->text(0), "Hotkeys");
    EXPECT_EQ(tree->topLevelItem(3)->text(0), "Bitmap Tools");
    EXPECT_EQ(tree->topLevelItem(4)->text(0), "AVI Tools");
    EXPECT_EQ(tree->topLevelItem(5)->text(0), "More");
    tree->setCurrentItem(capture->child(1));
    EXPECT_EQ(sheet->host().current(), sheet->host().GetPage(kNames));
    EXPECT_FALSE(sheet->Button(1014)->isEnabled());
}

TEST_F(OptionsSheet, OkAppliesEveryPageThenSaves)
{
    auto sheet = MakeSheet();
    auto* general = PageAt<CGeneralPage>(*sheet, kGeneral);
    static_cast<QRadioButton*>(general->Control(1052))->setChecked(true); // PNG
    static_cast<QLineEdit*>(sheet->host().GetPage(kCapture)->Control(1102))->setText("/tmp/shots");
    Field(*sheet->host().GetPage(kHotkeys), kRectangleField)->setValue({0x78, HOTKEYF_CONTROL | HOTKEYF_SHIFT});
    sheet->accept();
    EXPECT_EQ(sheet->result(), QDialog::Accepted);
    EXPECT_EQ(saves, 1);
    EXPECT_EQ(theEnv.m_nCaptureType, 3);
    EXPECT_EQ(theEnv.m_strBitmapPath, "/tmp/shots");
    EXPECT_EQ(theEnv.m_hkRectangle, (HotkeySetting{MOD_CONTROL | MOD_SHIFT, 0x78}));
}

TEST_F(OptionsSheet, ARepeatedFullScreenKeyKeepsTheSheetOpenAndSavesNothing)
{
    auto sheet = MakeSheet();
    COptionsPage* keys = sheet->host().GetPage(kHotkeys);
    // Rectangle and Circle may share a key.
    Field(*keys, kRectangleField)->setValue({0x41, HOTKEYF_ALT});
    Field(*keys, kCircleField)->setValue({0x41, HOTKEYF_ALT});
    static_cast<QRadioButton*>(sheet->host().GetPage(kGeneral)->Control(1051))->setChecked(true); // TIFF
    Field(*keys, kRectangleField)->setValue(Field(*keys, kFullScreenField)->value());
    const QString message = test::AcceptingMessageBoxes([&] { sheet->accept(); });
    EXPECT_EQ(message, "All these hotkeys can not be the same!\nPlease try again!");
    EXPECT_TRUE(sheet->isVisible());
    EXPECT_EQ(saves, 0);
    EXPECT_EQ(theEnv.m_nCaptureType, 5); // the page before the refusing one has applied
    EXPECT_EQ(theEnv.m_hkRectangle, (HotkeySetting{MOD_CONTROL, 0x70}));

    Field(*keys, kRectangleField)->setValue({0x41, HOTKEYF_ALT});
    EXPECT_EQ(test::AcceptingMessageBoxes([&] { sheet->accept(); }), "");
    EXPECT_EQ(saves, 1);
    EXPECT_EQ(theEnv.m_hkRectangle, (HotkeySetting{MOD_ALT, 0x41}));
    EXPECT_EQ(theEnv.m_hkCircle, (HotkeySetting{MOD_ALT, 0x41}));
}

TEST_F(OptionsSheet, CancelKeepsWhatApplyApplied)
{
    auto sheet = MakeSheet();
    COptionsPage* capture = sheet->host().GetPage(kCapture);
    auto* bitmapPath = static_cast<QLineEdit*>(capture->Control(1102));
    bitmapPath->setText("/tmp/applied");
    emit capture->changed();
    QPushButton* apply = sheet->Button(1014);
    ASSERT_TRUE(apply->isEnabled());
    apply->click();
    EXPECT_FALSE(apply->isEnabled());
    EXPECT_EQ(theEnv.m_strBitmapPath, "/tmp/applied");
    bitmapPath->setText("/tmp/not-applied");
    sheet->reject();
    EXPECT_EQ(sheet->result(), QDialog::Rejected);
    EXPECT_EQ(theEnv.m_strBitmapPath, "/tmp/applied");
    EXPECT_EQ(saves, 0); // Apply and Cancel write no file
}

TEST_F(OptionsSheet, HotkeyDefaultShowsDefaultsAndLeavesTheShownKeysInTheRecord)
{
    auto sheet = MakeSheet();
    COptionsPage* keys = sheet->host().GetPage(kHotkeys);
    Field(*keys, kRectangleField)->setValue({0x42, HOTKEYF_SHIFT}); // an edit not applied
    static_cast<QPushButton*>(keys->Control(1122))->click();
    EXPECT_EQ(Field(*keys, kRectangleField)->value(), (HotkeyFieldValue{0x70, HOTKEYF_CONTROL}));
    EXPECT_EQ(theEnv.m_hkRectangle, (HotkeySetting{MOD_SHIFT, 0x42}));
    ASSERT_TRUE(keys->OnApply());
    EXPECT_EQ(theEnv.m_hkRectangle, (HotkeySetting{MOD_CONTROL, 0x70}));
}

TEST_F(OptionsSheet, HotkeyFieldsTakeKeysAndSwallowEnterAndEscape)
{
    auto sheet = MakeSheet();
    sheet->tree()->setCurrentItem(sheet->tree()->topLevelItem(2));
    COptionsPage* keys = sheet->host().GetPage(kHotkeys);
    CHotKeyField* field = Field(*keys, kCircleField);
    Press(*field, Qt::Key_F9, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(field->value(), (HotkeyFieldValue{0x78, HOTKEYF_CONTROL | HOTKEYF_ALT}));
    EXPECT_EQ(field->text(), "Ctrl+Alt+F9");
    for (int key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape})
        Press(*field, key);
    EXPECT_TRUE(sheet->isVisible());
    EXPECT_EQ(field->value(), (HotkeyFieldValue{0x78, HOTKEYF_CONTROL | HOTKEYF_ALT}));
    Press(*field, Qt::Key_Backspace);
    EXPECT_EQ(field->value(), HotkeyFieldValue{});
}

TEST_F(OptionsSheet, GeneralPageKeepsAnUnlistedTypeAndWritesTheAutostartEntry)
{
    theEnv.m_nCaptureType = 1; // GIF: no button of its own
    const std::string entry = m_home.file("autostart/vistrel.desktop");
    CGeneralPage page(nullptr, "/opt/vistrel/vistrel", entry);
    for (int id : {1152, 1151, 1051, 1052})
        EXPECT_FALSE(static_cast<QRadioButton*>(page.Control(id))->isChecked()) << id;
    EXPECT_TRUE(page.OnApply()); // autorun off and no entry: no message, nothing written
    EXPECT_EQ(theEnv.m_nCaptureType, 1);
    EXPECT_FALSE(std::filesystem::exists(entry));

    static_cast<QCheckBox*>(page.Control(1140))->setChecked(true);
    static_cast<QCheckBox*>(page.Control(1142))->setChecked(false);
    EXPECT_EQ(test::AcceptingMessageBoxes([&] { EXPECT_TRUE(page.OnApply()); }), "");
    EXPECT_EQ(theEnv.m_bAutorun, 1);
    EXPECT_EQ(theEnv.m_bHideSelf, 0);
    EXPECT_NE(test::ReadText(entry).find("Exec=/opt/vistrel/vistrel 0\n"), std::string::npos);
    static_cast<QCheckBox*>(page.Control(1140))->setChecked(false);
    EXPECT_TRUE(page.OnApply());
    EXPECT_FALSE(std::filesystem::exists(entry));
}

TEST_F(OptionsSheet, AnUnwritableAutostartEntryIsReportedAndTheRestApplied)
{
    test::WriteText(m_home.file("blocked"), "x");
    CGeneralPage page(nullptr, "/opt/vistrel/vistrel", m_home.file("blocked/autostart/vistrel.desktop"));
    static_cast<QCheckBox*>(page.Control(1140))->setChecked(true);
    static_cast<QRadioButton*>(page.Control(1151))->setChecked(true);
    bool accepted = false;
    const QString message = test::AcceptingMessageBoxes([&] { accepted = page.OnApply(); });
    EXPECT_EQ(message, "Can not open the special register key");
    EXPECT_TRUE(accepted);
    EXPECT_EQ(theEnv.m_nCaptureType, 2);
}

TEST_F(OptionsSheet, NamePageShowsExamplesGreysByTimeAndStoresThePatternRun)
{
    CNamePage page(nullptr);
    auto* example = static_cast<QLineEdit*>(page.Control(1136));
    EXPECT_EQ(example->text(), "Image000.bmp");
    EXPECT_EQ(static_cast<QLineEdit*>(page.Control(1147))->text(), "Clip000.avi");
    auto* pattern = static_cast<QLineEdit*>(page.Control(1133));
    pattern->setText("###a#");
    emit pattern->textEdited(pattern->text());
    static_cast<QSpinBox*>(page.Control(1134))->setValue(40000);
    EXPECT_EQ(example->text(), "Image40000.bmp");

    static_cast<QCheckBox*>(page.Control(1132))->setChecked(true);
    for (int id : {1129, 1133, 1134, 1136, 1137})
        EXPECT_FALSE(page.Control(id)->isEnabled()) << id;
    for (int id : {1130, 1143, 1144, 1147, 1141})
        EXPECT_TRUE(page.Control(id)->isEnabled()) << id; // the AVI group stays as it was

    static_cast<QLineEdit*>(page.Control(1143))->setText("x##");
    ASSERT_TRUE(page.OnApply());
    EXPECT_EQ(theEnv.m_bBitmapNameByTime, 1);
    EXPECT_EQ(theEnv.m_strBitmapSuffix, "###");
    EXPECT_EQ(theEnv.m_nBitmapNumber, int16_t(40000 - 65536));
    EXPECT_EQ(theEnv.m_strAviSuffix, "");
}

TEST_F(OptionsSheet, ColorDefaultRestoresTheDefaultColoursOnApply)
{
    theEnv.m_crBitmapBack = 0x00112233;
    theEnv.m_crPreviewBack = 0x00445566;
    CColorPage page(nullptr);
    EXPECT_EQ(static_cast<CColorPicker*>(page.Control(1107))->GetColor(), 0x00112233u);
    static_cast<QPushButton*>(page.Control(1014))->click();
    EXPECT_EQ(theEnv.m_crBitmapBack, 0x00112233u); // not before the sheet applies
    ASSERT_TRUE(page.OnApply());
    EXPECT_EQ(theEnv.m_crBitmapBack, 0x007D7D00u);
    EXPECT_EQ(theEnv.m_crPreviewBack, 0u);
}

TEST_F(OptionsSheet, ToolPagesAddOnceMoveTheDefaultAndKeepOneAfterDelete)
{
    theEnv.m_aviTools = {{"mpv", "/usr/bin/mpv", 0}, {"vlc", "/usr/bin/vlc", 1}};
    CToolListPage page(nullptr, CToolListPage::Kind::Avi);
    QTreeWidget* list = page.list();
    ASSERT_EQ(list->topLevelItemCount(), 2);
    EXPECT_TRUE(list->topLevelItem(0)->icon(0).isNull());
    EXPECT_FALSE(list->topLevelItem(1)->icon(0).isNull());
    EXPECT_FALSE(page.Control(1112)->isEnabled());
    page.AddProgram("/USR/BIN/MPV");
    page.AddProgram("/opt/players/celluloid.bin");
    ASSERT_EQ(list->topLevelItemCount(), 3);
    EXPECT_EQ(list->topLevelItem(2)->text(0), "celluloid");

    list->setCurrentItem(list->topLevelItem(2));
    EXPECT_TRUE(page.Control(1113)->isEnabled());
    page.MarkSelectedDefault();
    int marked = 0;
    for (int i = 0; i < 3; ++i)
        marked += list->topLevelItem(i)->icon(0).isNull() ? 0 : 1;
    EXPECT_EQ(marked, 1);
    EXPECT_FALSE(list->topLevelItem(2)->icon(0).isNull());

    list->topLevelItem(0)->setText(0, "  Media Player  ");
    list->topLevelItem(1)->setText(0, "   ");
    list->setCurrentItem(list->topLevelItem(2));
    page.DeleteSelected(); // the default goes: the first row takes it
    ASSERT_TRUE(page.OnApply());
    ASSERT_EQ(theEnv.m_aviTools.size(), 2u);
    EXPECT_EQ(theEnv.m_aviTools[0], (ToolEntry{"Media Player", "/usr/bin/mpv", 1}));
    EXPECT_EQ(theEnv.m_aviTools[1], (ToolEntry{"vlc", "/usr/bin/vlc", 0}));
    EXPECT_EQ(list->topLevelItem(1)->text(0), "vlc");

    list->setCurrentItem(list->topLevelItem(1));
    page.DeleteSelected();
    list->setCurrentItem(list->topLevelItem(0));
    EXPECT_FALSE(page.Control(1114)->isEnabled()); // one row left: nothing to choose between
    EXPECT_FALSE(page.Control(1112)->isEnabled());
}

namespace {

// A desktop on which another program holds the Circle key, whatever it is,
// and, once it is set, the key Ctrl+Alt+A.
class HeldKeys : public HotkeyRegistrar {
public:
    bool Register(int id, HotkeySetting key) override
    {
        std::erase(m_taken, id);
        const bool held = id == HOTKEY_CIRCLE || key == HotkeySetting{MOD_CONTROL | MOD_ALT, 0x41};
        if (held)
            m_taken.push_back(id);
        return !held;
    }
    void Unregister(int) override {}
    std::vector<int> TakenIds() const override { return m_taken; }

private:
    std::vector<int> m_taken;
};

// The registrar theEnv uses while it lives.
class InstalledRegistrar {
public:
    explicit InstalledRegistrar(HotkeyRegistrar& registrar) { theEnv.SetHotkeyRegistrar(&registrar); }
    ~InstalledRegistrar() { theEnv.SetHotkeyRegistrar(nullptr); }
    InstalledRegistrar(const InstalledRegistrar&) = delete;
    InstalledRegistrar& operator=(const InstalledRegistrar&) = delete;
};

bool Marked(COptionsPage& page, int fieldId)
{
    auto* mark = page.findChild<QWidget*>(QString("taken%1").arg(fieldId));
    return mark && mark->isVisibleTo(&page);
}

} // namespace

TEST_F(OptionsSheet, HotkeysPageMarksTheKeysAnotherProgramHolds)
{
    HeldKeys desktop;
    const InstalledRegistrar installed(desktop);
    theEnv.RegisterHotkeys(false); // as at start: Circle is found taken
    auto sheet = MakeSheet(OptionsStart::Hotkeys);
    COptionsPage* keys = sheet->host().GetPage(kHotkeys);
    EXPECT_EQ(sheet->host().current(), keys);
    EXPECT_EQ(sheet->tree()->currentItem()->text(0), "Hotkeys");
    EXPECT_TRUE(Marked(*keys, kCircleField));
    EXPECT_FALSE(Marked(*keys, kRectangleField));
    EXPECT_FALSE(Marked(*keys, kFullScreenField));

    // A new key for Rectangle that is held too: marked once applied.
    Press(*Field(*keys, kRectangleField), Qt::Key_A, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_FALSE(Marked(*keys, kRectangleField));
    sheet->Button(1014)->click();
    EXPECT_TRUE(sheet->applied());
    EXPECT_TRUE(Marked(*keys, kRectangleField));
    EXPECT_TRUE(Marked(*keys, kCircleField));
    EXPECT_EQ(theEnv.TakenHotkeys(), (std::vector<int>{HOTKEY_RECTANGLE, HOTKEY_CIRCLE}));

    // Editing the field takes its mark away; the key it names is another.
    Press(*Field(*keys, kRectangleField), Qt::Key_B, Qt::ControlModifier);
    EXPECT_FALSE(Marked(*keys, kRectangleField));
    EXPECT_TRUE(Marked(*keys, kCircleField));
    sheet->accept();
    EXPECT_EQ(theEnv.TakenHotkeys(), (std::vector<int>{HOTKEY_CIRCLE}));
}

TEST_F(OptionsSheet, MorePageHasABoxForEachPreferenceAndOkWritesTheRegistryFile)
{
    const std::string registry = m_home.file("registry.ini");
    {
        RegistryStore store(registry);
        store.SetDword(std::string(kPreferencesKey), std::string(kPrefAlwaysTray), 1);
        store.SetString("Software\\Other", "kept", "yes");
        ASSERT_TRUE(store.Save());
    }
    auto sheet = MakeSheet();
    auto* more = PageAt<CMorePage>(*sheet, kMore);
    ASSERT_NE(more, nullptr);
    for (const Preference& preference : Preferences()) {
        QCheckBox* box = more->Box(preference.name);
        ASSERT_NE(box, nullptr) << preference.name;
        EXPECT_EQ(box->text().toStdString(), preference.label);
        EXPECT_EQ(box->isChecked(), ReadPreference(RegistryStore(registry), preference.name) != 0) << preference.name;
    }
    EXPECT_TRUE(more->Box(kPrefNotify)->isChecked()); // the default, nothing stored
    EXPECT_TRUE(more->Box(kPrefAlwaysTray)->isChecked());
    EXPECT_EQ(more->Box("noSuchPreference"), nullptr);

    more->Box(kPrefClipboard)->setChecked(true);
    more->Box(kPrefNotify)->setChecked(false);
    EXPECT_TRUE(sheet->Button(1014)->isEnabled());
    sheet->accept();
    const RegistryStore written(registry);
    EXPECT_EQ(ReadPreference(written, kPrefClipboard), 1u);
    EXPECT_EQ(ReadPreference(written, kPrefNotify), 0u);
    EXPECT_EQ(ReadPreference(written, kPrefAlwaysTray), 1u);
    EXPECT_EQ(written.GetString("Software\\Other", "kept"), "yes");
}

TEST_F(OptionsSheet, MorePageCancelWritesNothingAndApplyWritesAtOnce)
{
    const std::string registry = m_home.file("registry.ini");
    auto sheet = MakeSheet();
    auto* more = PageAt<CMorePage>(*sheet, kMore);
    more->Box(kPrefClipboard)->setChecked(true);
    sheet->reject();
    EXPECT_FALSE(std::filesystem::exists(registry));

    auto again = MakeSheet();
    more = PageAt<CMorePage>(*again, kMore);
    EXPECT_FALSE(more->Box(kPrefClipboard)->isChecked());
    more->Box(kPrefClipboard)->setChecked(true);
    again->Button(1014)->click();
    EXPECT_EQ(ReadPreference(RegistryStore(registry), kPrefClipboard), 1u);
    more->Box(kPrefClipboard)->setChecked(false);
    again->reject(); // keeps what Apply wrote
    EXPECT_EQ(ReadPreference(RegistryStore(registry), kPrefClipboard), 1u);
}

TEST_F(OptionsSheet, MorePageReportsARegistryFileItCannotWrite)
{
    std::filesystem::create_directory(m_home.file("registry.ini")); // no file can take its place
    CMorePage page(nullptr);
    page.Box(kPrefClipboard)->setChecked(true);
    bool accepted = false;
    const QString message = test::AcceptingMessageBoxes([&] { accepted = page.OnApply(); });
    EXPECT_EQ(message, "The settings could not be saved.");
    EXPECT_TRUE(accepted);
}
