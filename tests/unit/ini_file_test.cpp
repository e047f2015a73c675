#include "base/text_encoding.h"
#include "i18n/ini_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

using namespace vistrel;

namespace {

IniFile Parse(std::string_view bytes)
{
    return ParseIniBytes({reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size()});
}

std::string Value(const IniFile& ini, std::string_view section, std::string_view key)
{
    return ini.Get(section, key, "<missing>");
}

class TempDir {
public:
    TempDir()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "vistrel-ini-XXXXXX").string();
        m_path = mkdtemp(pattern.data());
    }
    ~TempDir()
    {
        std::error_code ec;
        std::filesystem::remove_all(m_path, ec);
    }
    std::string file(const std::string& name) const { return m_path + "/" + name; }

private:
    std::string m_path;
};

} // namespace

TEST(IniFile, NamesMatchWithoutCaseAndBlanksAroundValuesGo)
{
    IniFile ini = Parse("[MainMenu]\n  &File =  Datei  \n\t&Edit\t=\tBearbeiten\t\n");
    EXPECT_EQ(Value(ini, "mainmenu", "&FILE"), "Datei");
    EXPECT_EQ(Value(ini, "MAINMENU", "&edit"), "Bearbeiten");
    EXPECT_EQ(Value(ini, "MainMenu", "&View"), "<missing>");
    EXPECT_EQ(Value(ini, "Other", "&File"), "<missing>");
}

TEST(IniFile, EmptyValueIsThereAndQuotesAreDropped)
{
    IniFile ini = Parse("[S]\nempty=\nblank=   \ndq=\"  padded  \"\nsq='x'\nodd=\"x'\none=\"\n");
    EXPECT_EQ(Value(ini, "S", "empty"), "");
    EXPECT_EQ(Value(ini, "S", "blank"), "");
    EXPECT_EQ(Value(ini, "S", "dq"), "  padded  ");
    EXPECT_EQ(Value(ini, "S", "sq"), "x");
    EXPECT_EQ(Value(ini, "S", "odd"), "\"x'");
    EXPECT_EQ(Value(ini, "S", "one"), "\"");
}

TEST(IniFile, FirstKeyAndFirstSectionWin)
{
    IniFile ini = Parse("orphan=before any section\n"
                        "[A]\nkey=first\nKEY=second\nonly=a\n"
                        "[B]\nkey=b\n"
                        "[a]\nkey=third\nlate=ignored\n");
    EXPECT_EQ(Value(ini, "A", "key"), "first");
    EXPECT_EQ(Value(ini, "A", "only"), "a");
    EXPECT_EQ(Value(ini, "A", "late"), "<missing>"); // a repeated section is not read
    EXPECT_EQ(Value(ini, "B", "key"), "b");
    EXPECT_EQ(Value(ini, "", "orphan"), "<missing>");
    EXPECT_EQ(ini.entries().size(), 3u);
}

TEST(IniFile, CommentsHeadersAndOddLines)
{
    IniFile ini = Parse("; comment=not a key\n"
                        "[ Spaced ] trailing text\n"
                        "  ;indented=comment\n"
                        "no equals sign here\n"
                        "=no key\n"
                        "a=b=c\n"
                        "[Broken\n"
                        "x=still in Spaced\n"
                        "[Last]\n"
                        "k=v");
    EXPECT_EQ(Value(ini, "Spaced", "; comment"), "<missing>");
    EXPECT_EQ(Value(ini, "Spaced", ";indented"), "<missing>");
    EXPECT_EQ(Value(ini, "Spaced", "a"), "b=c");
    EXPECT_EQ(Value(ini, "Spaced", "x"), "still in Spaced");
    EXPECT_EQ(Value(ini, "Last", "k"), "v"); // no final line break
    EXPECT_EQ(ini.entries().size(), 3u);
}

TEST(IniFile, LineEndsOfEveryKind)
{
    for (std::string_view end : {"\r\n", "\n", "\r"}) {
        std::string text = "[S]" + std::string(end) + "a=1" + std::string(end) + "b = 2 " + std::string(end);
        IniFile ini = Parse(text);
        EXPECT_EQ(Value(ini, "S", "a"), "1");
        EXPECT_EQ(Value(ini, "S", "b"), "2");
    }
}

TEST(IniFile, LongValuesAreCutOnACharacterBoundary)
{
    IniFile ini = Parse("[S]\nlong=" + std::string(5000, 'x') + "\n");
    EXPECT_EQ(ini.Find("S", "long")->size(), kMaxIniValueBytes);

    // 4094 ASCII bytes, then a three-byte character that does not fit.
    IniFile cjk = Parse("[S]\nk=" + std::string(4094, 'a') + "\xE4\xB8\xAD\xE6\x96\x87\n");
    std::string_view value = *cjk.Find("S", "k");
    EXPECT_EQ(value.size(), 4094u);
    EXPECT_TRUE(IsValidUtf8(value));
}

TEST(IniFile, EncodingsBecomeUtf8)
{
    bool legacy = true;
    std::string utf8 = "\xEF\xBB\xBF[Language]\nLanguage=\xE7\xAE\x80\xE4\xBD\x93\xE4\xB8\xAD\xE6\x96\x87\n";
    IniFile a = ParseIniBytes({reinterpret_cast<const unsigned char*>(utf8.data()), utf8.size()}, &legacy);
    EXPECT_FALSE(legacy);
    EXPECT_EQ(Value(a, "Language", "Language"), "简体中文");

    IniFile b = Parse("[Language]\nLanguage=Fran\xE7" "ais \x80 \x93ok\x94\n");
    EXPECT_EQ(Value(b, "Language", "Language"), "Français € “ok”");

    const unsigned char utf16[] = {0xFF, 0xFE, '[', 0, 'S', 0, ']', 0, '\n', 0, 'k', 0, '=', 0,
                                   0x2D, 0x4E, 0x3D, 0xD8, 0x00, 0xDE, 0x00, 0xD8, '\n', 0};
    IniFile c = ParseIniBytes(utf16);
    EXPECT_EQ(Value(c, "S", "k"), "中\xF0\x9F\x98\x80\xEF\xBF\xBD"); // a pair, then a lone surrogate
}

TEST(IniFile, GarbageGivesValidTextAndNoNul)
{
    std::string garbage;
    for (int i = 0; i < 4096; ++i)
        garbage += char((i * 7919 + 13) & 0xFF);
    const char tail[] = "\n[S]\nk=a\0b\xFF\n";
    garbage.append(tail, sizeof tail - 1);
    IniFile ini = Parse(garbage);
    for (const auto& e : ini.entries()) {
        for (const std::string* s : {&e.section, &e.key, &e.value}) {
            EXPECT_TRUE(IsValidUtf8(*s));
            EXPECT_EQ(s->find_first_of(std::string("\r\n\0", 3)), std::string::npos);
        }
    }
    EXPECT_EQ(Value(ini, "S", "k"), "ab\xC3\xBF"); // read as Windows-1252, NULs gone
}

TEST(IniFile, ReaderReportsWhatItCannotRead)
{
    TempDir dir;
    EXPECT_NE(ReadIniFile(dir.file("missing.ini")).error.find("missing.ini"), std::string::npos);

    std::filesystem::create_directory(dir.file("folder.ini"));
    EXPECT_NE(ReadIniFile(dir.file("folder.ini")).error, "");

    // A pipe under the name must not block the reader.
    ASSERT_EQ(mkfifo(dir.file("pipe.ini").c_str(), 0600), 0);
    IniReadResult pipe = ReadIniFile(dir.file("pipe.ini"));
    EXPECT_NE(pipe.error, "");
    EXPECT_TRUE(pipe.file.empty());

    {
        std::ofstream big(dir.file("big.ini"));
        big << "[S]\nk=v\n";
    }
    ASSERT_EQ(truncate(dir.file("big.ini").c_str(), off_t(kMaxLanguageFileBytes) + 1), 0);
    IniReadResult tooBig = ReadIniFile(dir.file("big.ini"));
    EXPECT_NE(tooBig.error.find("larger"), std::string::npos);
    EXPECT_TRUE(tooBig.file.empty());

    {
        std::ofstream ok(dir.file("ok.ini"), std::ios::binary);
        ok << "[S]\r\nk=Gr\xFC\xDF" "e\r\n";
    }
    IniReadResult read = ReadIniFile(dir.file("ok.ini"));
    EXPECT_EQ(read.error, "");
    EXPECT_TRUE(read.legacyEncoding);
    EXPECT_EQ(Value(read.file, "s", "K"), "Grüße");
}
