#include "commands/command_ids.h"
#include "i18n/hotkey_text.h"
#include "i18n/language_menu.h"
#include "i18n/translate.h"
#include "file_text.h"
#include "temp_home.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

using namespace vistrel;
using vistrel::test::TempHome;
using vistrel::test::WriteText;

namespace {

Translator FromText(std::string_view text)
{
    return Translator::FromIni(IniFile::Parse(text));
}

std::map<uint32_t, std::string> AsMap(const std::vector<std::pair<uint32_t, std::string>>& items)
{
    return {items.begin(), items.end()};
}

// Names unlike the built-in ones, to see that the caller's function is used.
std::string LayoutName(uint32_t vk, bool extended)
{
    std::string name = vk == VK_CONTROL_KEY ? "Strg" : vk == VK_SHIFT_KEY ? "Umschalt" : vk == VK_ALT_KEY ? "Alt" : FallbackKeyName(vk, false);
    return extended ? name + "(ext)" : name;
}

} // namespace

TEST(Translate, LookupFallsBackToTheKey)
{
    Translator none;
    EXPECT_FALSE(none.chosen());
    EXPECT_EQ(none.Text("MainMenu", "&File"), "&File");

    Translator missing("/nonexistent/vistrel/xx.ini");
    EXPECT_TRUE(missing.chosen());
    EXPECT_NE(missing.error(), "");
    EXPECT_EQ(missing.Text("MainMenu", "&File"), "&File");

    Translator tr = FromText("[MainMenu]\n&File=Datei\n&Edit=\n&View=   \n");
    EXPECT_EQ(tr.Text("mainmenu", "&file"), "Datei");
    EXPECT_EQ(tr.Text("MainMenu", "&Edit"), "&Edit");   // empty value
    EXPECT_EQ(tr.Text("MainMenu", "&View"), "&View");   // only blanks
    EXPECT_EQ(tr.Lookup("MainMenu", "&Edit"), "");     // the platform lookup keeps it empty
    EXPECT_EQ(tr.Lookup("MainMenu", "&Help"), "&Help"); // missing: the key as default
}

TEST(Translate, TranslateTextReadsTheChosenFile)
{
    TempHome home;
    std::string saved = g_strLanguageFile;
    WriteText(home.file("de.ini"), "[Virtual Folder]\nCaptured Icon=Symbole\n");
    g_strLanguageFile = home.file("de.ini");
    EXPECT_EQ(TranslateText("Virtual Folder", "Captured Icon"), "Symbole");
    g_strLanguageFile.clear();
    EXPECT_EQ(TranslateText("Virtual Folder", "Captured Icon"), "Captured Icon");
    g_strLanguageFile = saved;
}

TEST(Translate, DialogTextsWithLineBreaksAndFallbacks)
{
    const DialogTextTable& notice = DialogTexts(DialogId::Notice);
    EXPECT_FALSE(TranslateDialog(Translator(), notice)); // no file: the dialog keeps its texts

    Translator english = FromText("[Notice!!]\n");
    auto shown = TranslateDialog(english, notice);
    ASSERT_TRUE(shown);
    EXPECT_EQ(shown->title, "Notice!!");
    ASSERT_EQ(shown->controls.size(), notice.controls.size());
    EXPECT_EQ(shown->controls[0].first, 1172);
    EXPECT_EQ(shown->controls[0].second, "Press %s to finish capture\nOR Press Escape to cancel capture");

    Translator tr = FromText("[notice!!]\nNotice!!=Hinweis\\nTitel\n"
                             "Don't show me this message again.=Nicht\\nmehr\\\\zeigen\\n\n"
                             "OK=\n");
    shown = TranslateDialog(tr, notice);
    ASSERT_TRUE(shown);
    EXPECT_EQ(shown->title, "Hinweis\\nTitel"); // only control texts take line breaks
    std::map<int, std::string> texts(shown->controls.begin(), shown->controls.end());
    EXPECT_EQ(texts[1150], "Nicht\nmehr\\\\zeigen\n");
    EXPECT_EQ(texts[1], "OK");
}

TEST(Translate, DialogTableCountsMatchTheDialogs)
{
    // Section and title, then the controls: the item counts the dialogs pass.
    EXPECT_EQ(DialogTexts(DialogId::CursorOptions).controls.size() + 2, 15u);
    EXPECT_EQ(DialogTexts(DialogId::VideoOptions).controls.size() + 2, 13u);
    EXPECT_EQ(DialogTexts(DialogId::AviCapture).controls.size() + 2, 23u);
    EXPECT_EQ(DialogTexts(DialogId::IconSearch).controls.size() + 2, 15u);
    for (const auto& dialog : AllDialogTexts()) {
        std::map<int, int> ids;
        for (const auto& control : dialog.controls)
            EXPECT_EQ(++ids[control.id], 1) << dialog.section << " repeats control " << control.id;
    }
}

TEST(Translate, MainMenuWithoutLanguageFileChangesNothing)
{
    TempHome home;
    CEnv env;
    env.m_mapMenuText[1] = "kept";
    std::vector<std::vector<uint32_t>> menu = {{32858}};
    EXPECT_FALSE(TranslateMainMenu(Translator(), env, menu));
    EXPECT_EQ(env.m_mapMenuText.size(), 1u);
}

TEST(Translate, MainMenuTitlesItemsAndSuffixes)
{
    TempHome home;
    CEnv env;
    env.m_hkObject = {};
    env.m_mapMenuText[1] = "stale";
    Translator tr = FromText("[MainMenu]\n&File=  Datei(&F)  \n&Capture=\"   \"\n"
                             "&Rectangle=Rechteck(&R)\n&Delete=   \n&Copy=Kopieren\n"
                             "&Show Main Window=\" Zeigen \"\n");
    std::vector<std::vector<uint32_t>> menu = {
        {32858, 57665}, {32862, 32790, 32810}, {}, {32771, 32772, 32806, 32800, 99999}, {}, {}, {32811}};
    auto texts = TranslateMainMenu(tr, env, menu, LayoutName);
    ASSERT_TRUE(texts);
    EXPECT_EQ(texts->titles, (std::vector<std::string>{"Datei(&F)", "&Edit", "&View", "&Capture", "&Tools", "&Help"}));
    auto items = AsMap(texts->items);
    EXPECT_EQ(items.at(32772), "Rechteck(&R)\tStrg+F1");
    EXPECT_EQ(items.at(32771), "&Full Screen\tPrint");
    EXPECT_EQ(items.at(32800), "&Timer\tStrg+Umschalt+T");
    EXPECT_EQ(items.at(32806), "&Object\t"); // no hotkey: still the tab
    EXPECT_EQ(items.at(32810), "&Delete\tDel");
    EXPECT_EQ(items.at(32862), "Kopieren\tCtrl+C");
    EXPECT_EQ(items.at(32790), "Select &All\tCtrl+A");
    EXPECT_EQ(items.at(32858), "&Save As...");
    EXPECT_FALSE(items.contains(99999)); // no English text: left as it is
    EXPECT_FALSE(items.contains(32811)); // past the six titles

    EXPECT_FALSE(env.m_mapMenuText.contains(1));
    EXPECT_EQ(env.m_mapMenuText.at(32772), "Rechteck(&R)");
    EXPECT_EQ(env.m_mapMenuText.at(32810), "&Delete");
    EXPECT_EQ(env.m_mapMenuText.at(ID_SHOW_MAIN_WINDOW), " Zeigen "); // not trimmed

    const uint32_t tray[] = {32863, 32771, 0, 57664, 12345};
    auto trayTexts = AsMap(TranslateMenuByCommand(env, tray));
    EXPECT_EQ(trayTexts.size(), 2u);
    EXPECT_EQ(trayTexts.at(32771), "&Full Screen");
}

TEST(Translate, OtherMenus)
{
    TempHome home;
    CEnv env;
    const uint32_t viewer[] = {32785, 32786, 0, 32783, 32784, 0, 32787};
    auto builtIn = TranslateViewerMenu(Translator(), viewer);
    ASSERT_EQ(builtIn.size(), 5u);
    EXPECT_EQ(builtIn[0].second, "&Previous\tP");
    EXPECT_EQ(builtIn[2], (std::pair<uint32_t, std::string>{32783, "Full &Extent\tCtrl+E"}));
    EXPECT_EQ(builtIn[4].second, "&Restore Window\tCtrl+Q");

    Translator tr = FromText("[MainMenu]\n&Next=Weiter\nStop Recording=Aufnahme beenden\nStop &Capture=\n"
                             "File Path=Pfad\n[Virtual Folder]\nCaptured Avi=Videos\n"
                             "[Bitmap List Menu]\nDelete=L\xC3\xB6schen\n[AVI List Menu]\nCopy=Kopie\n");
    EXPECT_EQ(TranslateViewerMenu(tr, viewer)[1].second, "Weiter\tN");
    EXPECT_EQ(RecordingTrayMenuText(tr, env), "Aufnahme beenden\tCtrl+F6");
    auto timer = TimerTrayMenuTexts(tr, env);
    EXPECT_EQ(timer[0], "&Show Main Window");
    EXPECT_EQ(timer[1], "Stop &Capture\tCtrl+Shift+T");
    EXPECT_EQ(ListMenuText(tr, 1, "Delete"), "Löschen\tDel");
    EXPECT_EQ(ListMenuText(tr, 0, "Delete"), "Delete\tDel"); // another section
    EXPECT_EQ(ListMenuText(tr, 2, "Copy"), "Kopie\tCtrl+C");
    EXPECT_EQ(ListMenuText(tr, 2, "Shell Open"), "Shell Open");
    EXPECT_EQ(ColumnHeaderTexts(tr), (std::array<std::string, 4>{"File Name", "Pfad", "Size", "Creation Date"}));
    EXPECT_EQ(FolderNameTexts(tr), (std::array<std::string, 3>{"Captured Bitmap", "Captured Icon", "Videos"}));
}

TEST(HotkeyText, ModifiersKeysAndLimits)
{
    EXPECT_EQ(HotkeyToText(0, 0), "");
    EXPECT_EQ(HotkeyToText(0x10000, 0x20000), ""); // only the low 16 bits count
    EXPECT_EQ(HotkeyToText(MOD_CONTROL, 0x70), "Ctrl+F1");
    EXPECT_EQ(HotkeyToText(0, 0x2C), "Print");
    EXPECT_EQ(HotkeyToText(MOD_ALT | MOD_SHIFT | MOD_CONTROL, 'Z'), "Ctrl+Shift+Alt+Z");
    EXPECT_EQ(HotkeyToText(MOD_CONTROL, 0), "Ctrl+"); // a modifier and no key
    EXPECT_EQ(HotkeyToText(0, 0x87), "F24");
    EXPECT_EQ(HotkeyToText(0, 0x2E), "Del");
    EXPECT_EQ(HotkeyToText(0, 0x65), "Num+5");
    EXPECT_EQ(HotkeyToText(0, 0xFF), ""); // no name known
    EXPECT_EQ(HotkeyToText(MOD_SHIFT | MOD_EXTENDED_KEY, 0x2E, LayoutName), "Umschalt+Del(ext)");

    // Cut to 100 bytes, but not inside the three bytes of the last character.
    auto longName = [](uint32_t, bool) { return std::string(99, 'x') + "\xE4\xB8\xAD"; };
    EXPECT_EQ(HotkeyToText(0, 'A', longName), std::string(99, 'x'));
}

TEST(HotkeyText, PlaceholderTakesOnlyTheFirstPercentS)
{
    EXPECT_EQ(ReplaceHotkeyPlaceholder("Press %s to stop", "Ctrl+F6"), "Press Ctrl+F6 to stop");
    EXPECT_EQ(ReplaceHotkeyPlaceholder("%s %s %n %d", "X"), "X %s %n %d");
    EXPECT_EQ(ReplaceHotkeyPlaceholder("no placeholder", "X"), "no placeholder");
}

TEST(LanguageMenu, ItemsNamesAndTheCheckMark)
{
    TempHome home;
    std::string a = home.file("a.ini"), b = home.file("b.ini"), c = home.file("C.ini");
    WriteText(a, "[Language]\nLanguage=Deutsch\n");
    WriteText(b, "[language]\nlanguage=  Deutsch  \n");
    WriteText(c, "[MainMenu]\n&File=x\n");
    std::vector<std::string> files = {a, b, c, home.file("gone.ini")};

    auto items = BuildLanguageMenu(files, b);
    ASSERT_EQ(items.size(), 4u);
    EXPECT_EQ(items[0].name, "Deutsch");
    EXPECT_EQ(items[1].name, "Deutsch"); // the same name twice: both listed
    EXPECT_EQ(items[2].name, "Language");
    EXPECT_EQ(items[3].name, "Language");
    EXPECT_EQ(items[3].command, ID_LANGUAGE_FIRST + 3);
    EXPECT_FALSE(items[0].checked);
    EXPECT_TRUE(items[1].checked);

    items = BuildLanguageMenu(files, home.file("c.INI")); // no exact match: by case
    EXPECT_TRUE(items[2].checked);
    EXPECT_EQ(std::count_if(items.begin(), items.end(), [](auto& i) { return i.checked; }), 1);
    items = BuildLanguageMenu(files, "");
    EXPECT_EQ(std::count_if(items.begin(), items.end(), [](auto& i) { return i.checked; }), 0);
    EXPECT_TRUE(BuildLanguageMenu({}, a).empty());

    EXPECT_EQ(LanguageFileForCommand(ID_LANGUAGE_FIRST + 1, files), b);
    EXPECT_FALSE(LanguageFileForCommand(ID_LANGUAGE_FIRST + 4, files));
    EXPECT_FALSE(LanguageFileForCommand(ID_LANGUAGE_FIRST - 1, files));

    std::vector<std::string> many(600, home.file("gone.ini"));
    items = BuildLanguageMenu(many, "");
    EXPECT_EQ(items.size(), size_t(ID_LANGUAGE_LAST - ID_LANGUAGE_FIRST + 1));
    EXPECT_EQ(items.back().command, ID_LANGUAGE_LAST);
    EXPECT_FALSE(LanguageFileForCommand(ID_LANGUAGE_LAST + 1, many));
}
