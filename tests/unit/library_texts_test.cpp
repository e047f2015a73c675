// The list's column texts, the status and preview texts, and the Save As
// type table and target names.
#include "base/file_moves.h"
#include "base/path_names.h"
#include "file_text.h"
#include "library/core/list_texts.h"
#include "library/core/save_as.h"
#include "temp_home.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

using namespace vistrel;

TEST(ListTexts, FileNameIsThePartAfterTheLastSlash)
{
    EXPECT_EQ(FileNameOfPath("/home/me/Pictures/Bitmap1.bmp"), "Bitmap1.bmp");
    EXPECT_EQ(FileNameOfPath("Bitmap1.bmp"), "Bitmap1.bmp");
    EXPECT_EQ(FileNameOfPath("/folder/"), "");
}

TEST(ListTexts, SizesInBytesThenWholeKilobytes)
{
    EXPECT_EQ(FileSizeText(0), "0 Bytes");
    EXPECT_EQ(FileSizeText(1023), "1023 Bytes");
    EXPECT_EQ(FileSizeText(1024), "1KB");
    EXPECT_EQ(FileSizeText(2047), "1KB");
    EXPECT_EQ(FileSizeText(2048), "2KB");
}

TEST(ListTexts, SizesPastFourGigabytesCountWhole)
{
    // Only the low 32 bits would make these 100 Bytes and 1KB.
    EXPECT_EQ(FileSizeText((uint64_t(1) << 32) + 100), "4194304KB");
    EXPECT_EQ(FileSizeText((uint64_t(5) << 32) + 1024), "20971521KB");
    EXPECT_EQ(FileSizeText(UINT64_MAX), "18014398509481983KB");
}

TEST(ListTexts, LongDateTakesTheNamesGiven)
{
    EXPECT_EQ(LongDateText("Monday", "December", 7, 2026), "Monday, December 07, 2026");
    EXPECT_EQ(LongDateText("Montag", "Dezember", 24, 2026), "Montag, Dezember 24, 2026");

    const char* oldTz = std::getenv("TZ");
    const std::string saved = oldTz ? oldTz : "";
    setenv("TZ", "UTC", 1);
    tzset();
    EXPECT_EQ(LongDateText(std::time_t(0), EnglishDateNames()), "Thursday, January 01, 1970");
    EXPECT_EQ(LongDateText(std::time_t(1796601600), EnglishDateNames()), "Monday, December 07, 2026");
    DateNames french = EnglishDateNames();
    french.weekdays[4] = "jeudi";
    french.months[0] = "janvier";
    EXPECT_EQ(LongDateText(std::time_t(0), french), "jeudi, janvier 01, 1970");
    if (oldTz)
        setenv("TZ", saved.c_str(), 1);
    else
        unsetenv("TZ");
    tzset();
}

TEST(ListTexts, StatusAndPreviewTexts)
{
    EXPECT_EQ(TotalFilesText(0), "Total files: 0");
    EXPECT_EQ(TotalFilesText(12), "Total files: 12");
    // A translation: the count where its "%d" stands, and nothing else read
    // as a format; one without "%d" keeps the count in the English text.
    EXPECT_EQ(TotalFilesText(7, "%d files in all"), "7 files in all");
    EXPECT_EQ(TotalFilesText(3, "%s %x: %d, %d"), "%s %x: 3, %d");
    EXPECT_EQ(TotalFilesText(5, "Files"), "Total files: 5");
    EXPECT_EQ(PictureSizeText(1280, 800, 24), " 1280 x 800 x 24");
}

TEST(SaveAsRules, FilterTable)
{
    EXPECT_EQ(SaveAsFilter(),
              "Bitmap Files(*.bmp)|*.bmp|Jpeg Files(*.jpg)|*.jpg|Tiff Files(*.tif)|*.tif|Png Files(*.png)|*.png||");
    const std::pair<std::string_view, cximage_type> expected[] = {
        {".bmp", IMAGE_TYPE_BMP}, {".jpg", IMAGE_TYPE_JPG}, {".tif", IMAGE_TYPE_TIF},
        {".png", IMAGE_TYPE_PNG}, {".gif", IMAGE_TYPE_GIF}};
    for (int index = 1; index <= 5; ++index) {
        const SaveAsType t = SaveAsTypeOfFilter(index);
        EXPECT_EQ(t.extension, expected[index - 1].first) << index;
        EXPECT_EQ(t.type, expected[index - 1].second) << index;
    }
    for (int index : {0, 6, -1}) {
        EXPECT_EQ(SaveAsTypeOfFilter(index).extension, "");
        EXPECT_EQ(SaveAsTypeOfFilter(index).type, IMAGE_TYPE_BMP);
    }
}

TEST(SaveAsRules, TheFiltersExtensionReplacesTheTypedOne)
{
    EXPECT_EQ(SaveAsTargetPath("/tmp/shot.png", 2), "/tmp/shot.jpg");
    EXPECT_EQ(SaveAsTargetPath("/tmp/shot", 2), "/tmp/shot.jpg");
    EXPECT_EQ(SaveAsTargetPath("/tmp/my.shots/shot", 4), "/tmp/my.shots/shot.png");
    EXPECT_EQ(SaveAsTargetPath("/tmp/a.b.c", 1), "/tmp/a.b.bmp");
    EXPECT_EQ(SaveAsTargetPath("/tmp/shot.", 3), "/tmp/shot.tif");
    EXPECT_EQ(SaveAsTargetPath("/tmp/shot.png", 9), "/tmp/shot");
}

TEST(SaveAsRules, TypesByFileName)
{
    EXPECT_EQ(SaveAsTypeOfFileName("x/out.JPG")->type, IMAGE_TYPE_JPG);
    EXPECT_EQ(SaveAsTypeOfFileName("out.gif")->type, IMAGE_TYPE_GIF);
    EXPECT_FALSE(SaveAsTypeOfFileName("out.jpeg"));
    EXPECT_FALSE(SaveAsTypeOfFileName("dir/.png")); // a hidden file, no extension
    EXPECT_FALSE(SaveAsTypeOfFileName("outpng"));
    // The source side reads what the preview reads and GIF captures too.
    EXPECT_EQ(SaveAsSourceType("a.Gif"), IMAGE_TYPE_GIF);
    EXPECT_EQ(SaveAsSourceType("a.tif"), IMAGE_TYPE_TIF);
    EXPECT_EQ(SaveAsSourceType("a.avi"), -1);
    EXPECT_EQ(SaveAsSourceType("a.ico"), -1);
}

TEST(ListTexts, RowOfAFileAndOfOneThatVanished)
{
    vistrel::test::TempHome home;
    const std::string path = home.file("Bitmap 3.bmp");
    vistrel::test::WriteText(path, std::string(2047, 'x'));
    const RowTexts row = RowTextsOf(path, EnglishDateNames());
    EXPECT_EQ(row.name, "Bitmap 3.bmp");
    EXPECT_EQ(row.path, path);
    EXPECT_EQ(row.size, "1KB");
    const auto facts = LookAtFile(path);
    ASSERT_TRUE(facts);
    EXPECT_EQ(row.created, LongDateText(facts->created, EnglishDateNames()));
    EXPECT_FALSE(row.created.empty());

    std::filesystem::remove(path);
    const RowTexts gone = RowTextsOf(path, EnglishDateNames());
    EXPECT_TRUE(gone.name.empty() && gone.path.empty() && gone.size.empty() && gone.created.empty());
}
