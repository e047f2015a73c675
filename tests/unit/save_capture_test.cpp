#include "capture/core/save_capture.h"
#include "settings/capture_names.h"
#include "settings/env.h"
#include "file_text.h"
#include "temp_home.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>

using namespace vistrel;
using vistrel::test::TempHome;
using vistrel::test::ReadText;

namespace {

void Plant(const std::string& path)
{
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path) << "earlier capture";
}

int16_t StoredNumber()
{
    CEnv stored;
    stored.Load(false);
    return stored.m_nBitmapNumber;
}

} // namespace

TEST(SaveCapture, SkipsTakenNamesStoresTheNumberAndLists)
{
    TempHome home;
    CEnv env; // as after a lost or reset settings file: number 0
    env.m_nCaptureType = 3;
    Plant(env.m_strBitmapPath + "/Image000.png");
    Plant(env.m_strBitmapPath + "/Image001.png");
    std::vector<std::string> list;
    SavedCapture saved = SaveCapture(env, Bitmap(8, 4, MakeArgb(1, 2, 3)), 24, list);
    EXPECT_EQ(saved.path, env.m_strBitmapPath + "/Image002.png");
    EXPECT_TRUE(saved.settingsSaved);
    EXPECT_EQ(ReadText(env.m_strBitmapPath + "/Image000.png"), "earlier capture");
    EXPECT_EQ(env.m_nBitmapNumber, 3);
    EXPECT_EQ(StoredNumber(), 3); // on disk before the caller reports success
    EXPECT_EQ(list, std::vector<std::string>{saved.path});
}

TEST(SaveCapture, AfterTheWrapTakenNamesAreSkippedToo)
{
    TempHome home;
    CEnv env;
    env.m_nBitmapNumber = int16_t(-1); // 65535
    Plant(env.m_strBitmapPath + "/Image000.bmp");
    std::vector<std::string> list;
    EXPECT_EQ(SaveCapture(env, Bitmap(2, 2), 24, list).path, env.m_strBitmapPath + "/Image65535.bmp");
    EXPECT_EQ(SaveCapture(env, Bitmap(2, 2), 24, list).path, env.m_strBitmapPath + "/Image001.bmp");
    EXPECT_EQ(ReadText(env.m_strBitmapPath + "/Image000.bmp"), "earlier capture");
    EXPECT_EQ(env.m_nBitmapNumber, 2);
}

TEST(SaveCapture, NothingWrittenUsesNoNumberAndListsNothing)
{
    TempHome home;
    CEnv env;
    std::ofstream(home.file("plainfile")) << "x";
    env.m_strBitmapPath = home.file("plainfile/sub"); // cannot be made
    std::vector<std::string> list;
    SavedCapture saved = SaveCapture(env, Bitmap(8, 4), 24, list);
    EXPECT_TRUE(saved.path.empty());
    EXPECT_FALSE(saved.error.empty());
    EXPECT_TRUE(list.empty());
    EXPECT_EQ(env.m_nBitmapNumber, 0);
}

TEST(SaveCapture, ByTimeTheSameSecondGetsASortableSuffix)
{
    TempHome home;
    CEnv env;
    env.m_bBitmapNameByTime = 1;
    CaptureNames names = CaptureNames::ForImage(env, 0);
    const std::string first = *names.Next();
    const std::string stem = first.substr(0, first.size() - 4);
    EXPECT_TRUE(std::regex_match(first, std::regex(".*/\\d{4}-\\d\\d-\\d\\d-\\d\\d-\\d\\d-\\d\\d\\.bmp")));
    EXPECT_EQ(*names.Next(), stem + "_001.bmp");
    EXPECT_EQ(*names.Next(), stem + "_002.bmp");
    // The suffixed names sort after the plain one and before the next second's.
    EXPECT_LT(first, stem + "_001.bmp");
    EXPECT_LT(stem + "_999.bmp", stem.substr(0, stem.size() - 1) + char(stem.back() + 1) + ".bmp");
    uint32_t count = 3;
    while (names.Next())
        ++count;
    EXPECT_EQ(count, kTimeNameCandidates);
    EXPECT_EQ(env.m_nBitmapNumber, 0);

    // Two captures in one second both stay.
    std::vector<std::string> list;
    Plant(first);
    SavedCapture saved = SaveCapture(env, Bitmap(2, 2), 24, list);
    ASSERT_FALSE(saved.path.empty());
    EXPECT_NE(saved.path, first);
    EXPECT_EQ(ReadText(first), "earlier capture");
}

TEST(CaptureNames, NumberedNamesTryOneFullTurnOfTheCounter)
{
    TempHome home;
    CEnv env;
    env.m_nAviNumber = 7;
    CaptureNames names = CaptureNames::ForAvi(env);
    EXPECT_EQ(*names.Next(), env.m_strAviPath + "/Clip007.avi");
    uint32_t count = 1;
    while (names.Next())
        ++count;
    EXPECT_EQ(count, kNumberedNameCandidates);
    EXPECT_EQ(env.m_nAviNumber, 7); // all the way round
}
