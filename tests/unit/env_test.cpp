#include "settings/env.h"
#include "settings/settings_fields.h"
#include "settings/settings_file.h"
#include "failing_links.h"
#include "file_text.h"
#include "temp_home.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <sys/stat.h>
#include <utility>
#include <vector>

using namespace vistrel;
using vistrel::test::TempHome;
using vistrel::test::ReadText;
using vistrel::test::WriteText;
using vistrel::test::LinkDenied;
using vistrel::test::LinkRefusedXdev;

namespace {

class RecordingRegistrar : public HotkeyRegistrar {
public:
    std::vector<std::pair<char, int>> calls;
    bool Register(int id, HotkeySetting) override
    {
        calls.emplace_back('+', id);
        return id != HOTKEY_CIRCLE; // a key held elsewhere must not stop the rest
    }
    void Unregister(int id) override { calls.emplace_back('-', id); }
};



// A settings file cut short after its folders: damaged, but holding a value.
std::string DamagedSettings(const std::string& bitmapFolder)
{
    CEnv env;
    env.m_strBitmapPath = bitmapFolder;
    std::vector<uint8_t> bytes = SerializeSettings(env, "");
    return std::string(bytes.begin(), bytes.begin() + 60);
}

} // namespace

TEST(Env, EveryDamagedFileIsKeptBeforeItIsReplaced)
{
    TempHome home;
    const std::string cfg = home.file("capture.cfg");
    const std::string first = DamagedSettings("/first");
    const std::string second = DamagedSettings("/second");

    WriteText(cfg, first);
    CEnv one;
    one.Load(false);
    EXPECT_EQ(one.m_strBitmapPath, "/first");
    ASSERT_TRUE(one.Save());
    EXPECT_EQ(ReadText(cfg + ".damaged"), first);
    ASSERT_TRUE(one.Save()); // the file is sound now: nothing more is kept
    EXPECT_FALSE(std::filesystem::exists(cfg + ".damaged.1"));

    // Damaged again in a later run: the first copy stays, the second gets .1.
    WriteText(cfg, second);
    CEnv two;
    two.Load(false);
    ASSERT_TRUE(two.Save());
    EXPECT_EQ(ReadText(cfg + ".damaged"), first);
    EXPECT_EQ(ReadText(cfg + ".damaged.1"), second);
    CEnv reread;
    reread.Load(false);
    EXPECT_EQ(reread.m_strBitmapPath, "/second");
}

TEST(Env, WithoutHardLinksTheDamagedFileIsCopied)
{
    TempHome home;
    const std::string cfg = home.file("capture.cfg");
    WriteText(cfg, DamagedSettings("/kept"));
    CEnv env;
    env.Load(false);
    ASSERT_TRUE(env.Save(LinkRefusedXdev));
    EXPECT_EQ(ReadText(cfg + ".damaged"), DamagedSettings("/kept"));
    struct stat copy {}, settings {};
    ASSERT_EQ(stat((cfg + ".damaged").c_str(), &copy), 0);
    ASSERT_EQ(stat(cfg.c_str(), &settings), 0);
    EXPECT_NE(copy.st_ino, settings.st_ino);
}

TEST(Env, ADamagedFileThatCannotBeKeptIsNotReplaced)
{
    TempHome home;
    const std::string cfg = home.file("capture.cfg");
    WriteText(cfg, DamagedSettings("/kept"));
    CEnv env;
    env.Load(false);
    env.m_strBitmapName = "Changed";
    EXPECT_FALSE(env.Save(LinkDenied));
    EXPECT_EQ(ReadText(cfg), DamagedSettings("/kept"));
    EXPECT_FALSE(std::filesystem::exists(cfg + ".damaged"));
    // Once it can be kept, the save goes through.
    ASSERT_TRUE(env.Save());
    EXPECT_EQ(ReadText(cfg + ".damaged"), DamagedSettings("/kept"));
}

TEST(Env, Defaults)
{
    TempHome home;
    CEnv env;
    EXPECT_EQ(env.m_strBitmapPath, home.path() + "/Capture/Bitmap");
    EXPECT_EQ(env.m_strAviPath, home.path() + "/Capture/AVI");
    EXPECT_EQ(env.m_strIconPath, home.path() + "/Capture/Icon");
    EXPECT_EQ(env.m_crBitmapBack, 0x007D7D00u);
    EXPECT_EQ(env.m_hkFullScreen, (HotkeySetting{0, 0x2C}));
    EXPECT_EQ(env.m_hkTimer, (HotkeySetting{6, 0x54}));
    const int32_t flags[] = {env.m_bAutorun, env.m_bAutoSaveOnExit, env.m_bHideSelf, env.m_bShowMagnifier,
                             env.m_bReserved1, env.m_bReserved2, env.m_bReserved3, env.m_bShowReminder};
    EXPECT_EQ(std::vector<int32_t>(std::begin(flags), std::end(flags)),
              (std::vector<int32_t>{0, 0, 1, 1, 1, 1, 1, 1}));
    EXPECT_TRUE(env.m_bitmapTools.empty());
    EXPECT_TRUE(env.m_aviTools.empty());
    EXPECT_EQ(env.m_mapDefaultText.size(), 32u);
    EXPECT_EQ(env.m_mapDefaultText.at(32863), "&Show Main Window");
    EXPECT_TRUE(env.m_mapMenuText.empty());
}

TEST(Env, HotkeyRegistrationOrderAndExceptAvi)
{
    TempHome home;
    CEnv env;
    RecordingRegistrar registrar;
    env.SetHotkeyRegistrar(&registrar);
    env.RegisterHotkeys(false);
    std::vector<std::pair<char, int>> all = {
        {'+', HOTKEY_FULLSCREEN}, {'+', HOTKEY_RECTANGLE}, {'+', HOTKEY_CIRCLE}, {'+', HOTKEY_ELLIPSE},
        {'+', HOTKEY_POLYGON},    {'+', HOTKEY_OBJECT},    {'+', HOTKEY_AVI},    {'+', HOTKEY_TIMER}};
    EXPECT_EQ(registrar.calls, all);
    registrar.calls.clear();
    env.UnregisterHotkeys(true);
    env.RegisterHotkeys(true);
    for (const auto& [op, id] : registrar.calls)
        EXPECT_NE(id, HOTKEY_AVI);
    EXPECT_EQ(registrar.calls.size(), 14u);
}

TEST(Env, HotkeyByIdAndTheKeysTakenAsTheRegistrarSaysThem)
{
    TempHome home;
    CEnv env;
    env.m_hkCircle = {MOD_ALT, 0x43};
    EXPECT_EQ(env.Hotkey(HOTKEY_CIRCLE), (HotkeySetting{MOD_ALT, 0x43}));
    EXPECT_EQ(env.Hotkey(HOTKEY_FULLSCREEN), (HotkeySetting{0, 0x2C}));
    EXPECT_EQ(env.Hotkey(HOTKEY_TIMER), (HotkeySetting{MOD_CONTROL | MOD_SHIFT, 0x54}));
    EXPECT_FALSE(env.Hotkey(HOTKEY_ESCAPE).isSet()); // not one of the eight
    EXPECT_TRUE(env.TakenHotkeys().empty());         // no registrar

    struct Taken : HotkeyRegistrar {
        bool Register(int, HotkeySetting) override { return true; }
        void Unregister(int) override {}
        std::vector<int> TakenIds() const override { return {HOTKEY_AVI, HOTKEY_OBJECT}; }
    } taken;
    env.SetHotkeyRegistrar(&taken);
    EXPECT_EQ(env.TakenHotkeys(), (std::vector<int>{HOTKEY_AVI, HOTKEY_OBJECT}));
}

TEST(Env, SetDefaultHotkeysTouchesNothingElse)
{
    TempHome home;
    CEnv env;
    env.m_hkAvi = {1, 0x41};
    env.m_strBitmapName = "Keep";
    env.m_bAutorun = 1;
    std::string before = SettingsToJson(env, "", {});
    env.SetDefaultHotkeys();
    EXPECT_EQ(env.m_hkAvi, (HotkeySetting{2, 0x75}));
    env.m_hkAvi = {1, 0x41};
    EXPECT_EQ(SettingsToJson(env, "", {}), before);
}

TEST(Env, DefaultAviPlayer)
{
    TempHome home;
    CEnv env;
    EXPECT_EQ(env.GetDefaultAviPlayer(), "");
    env.m_aviTools = {{"a", "/a", 0}, {"b", "/b", 1}, {"c", "/c", 1}};
    EXPECT_EQ(env.GetDefaultAviPlayer(), "/b");
    env.m_aviTools[1].isDefault = 0;
    env.m_aviTools[2].isDefault = 0;
    EXPECT_EQ(env.GetDefaultAviPlayer(), "");
    env.ClearAviTools();
    EXPECT_TRUE(env.m_aviTools.empty());
}

TEST(SettingsFields, SetAcceptsWhatFitsAndRefusesTheRest)
{
    TempHome home;
    CEnv env;
    std::string lang;
    EXPECT_FALSE(SetSettingsField(env, lang, "m_hkRectangle=3,0x41"));
    EXPECT_EQ(env.m_hkRectangle, (HotkeySetting{3, 0x41}));
    EXPECT_FALSE(SetSettingsField(env, lang, "m_nBitmapNumber=32767"));
    EXPECT_EQ(env.m_nBitmapNumber, 32767);
    EXPECT_FALSE(SetSettingsField(env, lang, "m_crBitmapBack=0xFF00FF"));
    EXPECT_FALSE(SetSettingsField(env, lang, "m_strBitmapName=a=b c"));
    EXPECT_EQ(env.m_strBitmapName, "a=b c");
    EXPECT_FALSE(SetSettingsField(env, lang, "g_strLanguageFile=/x.ini"));
    EXPECT_EQ(lang, "/x.ini");
    EXPECT_FALSE(SetSettingsField(env, lang, "m_strIconPath= /data/icons\t"));
    EXPECT_EQ(env.m_strIconPath, "/data/icons");

    std::string before = SettingsToJson(env, lang, {});
    for (const char* bad : {"m_nBitmapNumber=32768", "m_nBitmapNumber=-1", "m_bAutorun=+-1", "m_bAutorun=0x-1", "m_bHideSelf=2", "m_nCaptureType=6", "m_hkAvi=8,1",
                            "m_hkAvi=1", "m_hkAvi=1,256", "m_crBitmapBack=0x1000000", "m_bAutorun=yes",
                            "m_nAviNumber=", "m_nAviNumber=12abc", "nosuch=1", "m_bitmapTools=x", "novalue",
                            "m_strBitmapPath=", "m_strBitmapPath=  ", "m_strAviPath=videos", "m_strIconPath=./icons",
                            "m_strBitmapName=../../x", "m_strAviName=a/b", "m_strBitmapSuffix=#\n#", "m_strAviSuffix=##/"})
        EXPECT_TRUE(SetSettingsField(env, lang, bad)) << bad;
    EXPECT_EQ(SettingsToJson(env, lang, {}), before);
}

TEST(SettingsFields, JsonEscapesAndListsEveryField)
{
    TempHome home;
    CEnv env;
    env.m_strBitmapName = "a\"b\\c\n";
    env.m_strAviName = "caf\xC3\xA9 \xE9t\xE9"; // UTF-8, then bytes of another code page
    env.m_bitmapTools = {{"P", "/p", 1}};
    std::string json = SettingsToJson(env, "", {"/l/a.ini"});
    EXPECT_NE(json.find("\"m_strBitmapName\": \"a\\\"b\\\\c\\n\""), std::string::npos);
    EXPECT_NE(json.find("{\"name\": \"P\", \"command\": \"/p\", \"isDefault\": 1}"), std::string::npos);
    EXPECT_NE(json.find("\"m_strAviName\": \"caf\xC3\xA9 \\u00e9t\\u00e9\""), std::string::npos) << json;
    EXPECT_NE(json.find("\"m_hkTimer\": {\"modifiers\": 6, \"virtualKey\": 84}"), std::string::npos);
    EXPECT_NE(json.find("\"g_languageFiles\": [\"/l/a.ini\"]"), std::string::npos);
    for (const auto& field : SettingsFields())
        EXPECT_NE(json.find("\"" + std::string(field.name) + "\""), std::string::npos) << field.name;
}
