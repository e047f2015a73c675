#include "settings/env.h"
#include "settings/file_naming.h"
#include "settings/folders.h"
#include "temp_home.h"

#include <gtest/gtest.h>

#include <fstream>
#include <regex>

using namespace vistrel;
using vistrel::test::TempHome;

TEST(FileNaming, NumberedNames)
{
    EXPECT_EQ(FormatNumberedName("Image", "###", ".bmp", 0), "Image000.bmp");
    EXPECT_EQ(FormatNumberedName("Image", "#####", ".bmp", 42), "Image00042.bmp");
    EXPECT_EQ(FormatNumberedName("Image", "", ".bmp", 7), "Image7.bmp");
    EXPECT_EQ(FormatNumberedName("Image", "###", ".bmp", 1234), "Image1234.bmp");
    EXPECT_EQ(FormatNumberedName("Image", "#a##", ".bmp", 5), "Image5.bmp"); // only the leading run counts
    EXPECT_EQ(FormatNumberedName("Clip", "a###", "", 5), "Clip5");
    EXPECT_EQ(FormatNumberedName("x", std::string(100000, '#'), "", 1).size(), 1u + 255u);
}

TEST(FileNaming, SequenceAdvancesAndWrapsIn16Bits)
{
    TempHome home;
    CEnv env;
    EXPECT_EQ(env.GetImageFileName(0), env.m_strBitmapPath + "/Image000.bmp");
    EXPECT_EQ(env.GetImageFileName(0), env.m_strBitmapPath + "/Image001.bmp");
    EXPECT_EQ(env.GetImageFileName(4), env.m_strBitmapPath + "/Image002.ico");
    EXPECT_EQ(env.GetImageFileName(9), env.m_strBitmapPath + "/Image003");
    EXPECT_EQ(env.m_nBitmapNumber, 4);

    env.m_nBitmapNumber = 41;
    env.GetImageFileName(3);
    EXPECT_EQ(env.m_nBitmapNumber, 42);

    env.m_nBitmapNumber = 32767;
    EXPECT_EQ(env.GetImageFileName(0), env.m_strBitmapPath + "/Image32767.bmp");
    EXPECT_EQ(env.m_nBitmapNumber, -32768);
    // Past the wrap the names go on counting rather than turning negative.
    EXPECT_EQ(env.GetImageFileName(0), env.m_strBitmapPath + "/Image32768.bmp");
    env.m_nBitmapNumber = -1;
    EXPECT_EQ(env.GetImageFileName(0), env.m_strBitmapPath + "/Image65535.bmp");
    EXPECT_EQ(env.m_nBitmapNumber, 0);

    EXPECT_EQ(env.GetAviFileName(), env.m_strAviPath + "/Clip000.avi");
    EXPECT_EQ(env.m_nAviNumber, 1);
}

TEST(FileNaming, ByTimeLeavesNumberAlone)
{
    TempHome home;
    CEnv env;
    env.m_bBitmapNameByTime = 1;
    env.m_bAviNameByTime = 1;
    env.m_nBitmapNumber = 9;
    std::string name = env.GetImageFileName(2);
    EXPECT_TRUE(std::regex_match(name, std::regex(".*/\\d{4}-\\d\\d-\\d\\d-\\d\\d-\\d\\d-\\d\\d\\.jpg")))
        << name;
    EXPECT_EQ(env.m_nBitmapNumber, 9);
    EXPECT_TRUE(env.GetAviFileName().ends_with(".avi"));
    EXPECT_EQ(env.m_nAviNumber, 0);

    std::tm t {};
    t.tm_year = 102, t.tm_mon = 10, t.tm_mday = 22, t.tm_hour = 22, t.tm_min = 5, t.tm_sec = 10;
    EXPECT_EQ(FormatTimeName(t), "2002-22-11-22-05-10");
}

TEST(Folders, CreateEveryLevelAndStopAtEmptyComponent)
{
    TempHome home;
    CreateFolderPath("  " + home.file("a/b/c") + " ");
    EXPECT_TRUE(IsFolder(home.file("a/b/c")));
    CreateFolderPath(home.file("d//e"));
    EXPECT_TRUE(IsFolder(home.file("d")));
    EXPECT_FALSE(IsFolder(home.file("d/e")));
    CreateFolderPath(home.file("f/"));
    EXPECT_TRUE(IsFolder(home.file("f")));

    auto cwd = std::filesystem::current_path();
    std::filesystem::current_path(home.path());
    CreateFolderPath("rel/sub");
    std::filesystem::current_path(cwd);
    EXPECT_TRUE(IsFolder(home.file("rel/sub")));

    std::ofstream(home.file("file")) << "x";
    EnsureFolder(home.file("file")); // a file of that name: tries and fails
    EXPECT_FALSE(IsFolder(home.file("file")));
    EXPECT_TRUE(std::filesystem::is_regular_file(home.file("file")));
}
