#include "base/program_folder.h"
#include "base/text_encoding.h"
#include "i18n/language_files.h"
#include "i18n/language_texts.h"
#include "i18n/translate.h"
#include "settings/env.h"
#include "temp_home.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>

using namespace vistrel;
using vistrel::test::TempHome;

namespace {

void Touch(const std::string& path, const std::string& text = "[Language]\n")
{
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

IniReadResult ReadShipped(const std::string& name)
{
    return ReadIniFile(std::string(VISTREL_LANGUAGE_DIR) + "/" + name);
}

size_t Count(std::string_view text, std::string_view what)
{
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string_view::npos; at = text.find(what, at + what.size()))
        ++n;
    return n;
}

} // namespace

TEST(LanguageFiles, ProgramFolderFirstAndSortedByName)
{
    TempHome home;
    std::string mine = home.file("Language"), shipped = home.file("share/Language");
    Touch(mine + "/vstlchs.ini");
    Touch(mine + "/deutsch.INI");
    Touch(mine + "/readme.txt");
    Touch(mine + "/.ini");
    std::filesystem::create_directories(mine + "/folder.ini");
    Touch(shipped + "/vstlchs.ini");
    Touch(shipped + "/Alpha.ini");
    Touch(shipped + "/vstleng.ini");

    auto files = ListLanguageFiles({mine, shipped, home.file("missing")});
    EXPECT_EQ(files, (std::vector<std::string>{shipped + "/Alpha.ini", mine + "/deutsch.INI",
                                               mine + "/vstlchs.ini", shipped + "/vstleng.ini"}));
    EXPECT_EQ(LanguageFilePath("vstleng.ini", files), shipped + "/vstleng.ini");
    EXPECT_EQ(LanguageFilePath("vstlchs.ini", {}), mine + "/vstlchs.ini");
    EXPECT_TRUE(ListLanguageFiles({}).empty());
}

TEST(LanguageFiles, SearchFoldersAndCollection)
{
    TempHome home;
    auto folders = LanguageSearchFolders();
    ASSERT_FALSE(folders.empty());
    EXPECT_EQ(folders[0], home.file("Language"));
    std::string installed = (std::filesystem::path(ExecutableFolder()).parent_path() / "share/vistrel/Language").string();
    EXPECT_NE(std::find(folders.begin(), folders.end(), installed), folders.end());
    EXPECT_EQ(std::set<std::string>(folders.begin(), folders.end()).size(), folders.size());

    Touch(home.file("Language/mine.ini"));
    CEnv env;
    env.Load(false);
    CollectLanguageFiles();
    EXPECT_EQ(g_languageFiles, ListLanguageFiles(folders));
    EXPECT_NE(std::find(g_languageFiles.begin(), g_languageFiles.end(), home.file("Language/mine.ini")),
              g_languageFiles.end());
    g_languageFiles.clear();
}

TEST(LanguageFiles, EnglishTemplateReadsBackAsEnglish)
{
    TempHome home;
    CEnv env;
    std::string text = EnglishLanguageTemplate(env);
    Translator tr = Translator::FromIni(IniFile::Parse(text));
    auto keys = KnownLanguageKeys(env);
    EXPECT_EQ(IniFile::Parse(text).entries().size(), keys.size());
    for (const auto& [section, key] : keys) {
        if (section != kLanguageSection) {
            EXPECT_EQ(tr.Lookup(section, key), key) << section << " / " << key;
        }
    }
    EXPECT_EQ(tr.Text(kLanguageSection, "Language"), "English");
}

// The shipped files: both read cleanly, the English one has exactly the keys the
// program looks up, and the Chinese one translates every one of them.
TEST(LanguageFiles, ShippedFilesCoverEveryKey)
{
    TempHome home;
    CEnv env;
    IniReadResult english = ReadShipped("vstleng.ini");
    IniReadResult chinese = ReadShipped("vstlchs.ini");
    ASSERT_EQ(english.error, "");
    ASSERT_EQ(chinese.error, "");
    EXPECT_FALSE(english.legacyEncoding);
    EXPECT_FALSE(chinese.legacyEncoding);

    std::set<std::pair<std::string, std::string>> known;
    for (const auto& [section, key] : KnownLanguageKeys(env)) {
        known.emplace(FoldCase(section), FoldCase(key));
        EXPECT_TRUE(english.file.Find(section, key)) << "English file lacks [" << section << "] " << key;
    }
    for (const auto& [id, text] : env.m_mapDefaultText)
        EXPECT_TRUE(english.file.Find(kMainMenuSection, text)) << "menu command " << id;
    for (const auto& dialog : AllDialogTexts())
        EXPECT_TRUE(english.file.Find(dialog.section, dialog.title)) << dialog.section;

    for (const auto& e : english.file.entries()) {
        EXPECT_TRUE(known.contains(std::pair(FoldCase(e.section), FoldCase(e.key))))
            << "English file has a key nobody looks up: [" << e.section << "] " << e.key;
        auto translated = chinese.file.Find(e.section, e.key);
        ASSERT_TRUE(translated) << "Chinese file lacks [" << e.section << "] " << e.key;
        if (e.key == "Author")
            continue;
        EXPECT_NE(*translated, "") << e.key;
        // The hotkey goes where "%s" stands, and only there.
        EXPECT_EQ(Count(*translated, "%s"), Count(e.key, "%s")) << e.key;
        EXPECT_EQ(Count(e.value, "%s"), Count(e.key, "%s")) << e.key;
        EXPECT_EQ(Count(*translated, "%"), Count(e.key, "%")) << e.key;
    }
    EXPECT_EQ(chinese.file.entries().size(), english.file.entries().size());
    EXPECT_EQ(Translator::FromIni(chinese.file).Text(kLanguageSection, "Language"), "简体中文");
}
