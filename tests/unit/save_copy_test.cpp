// Save As and --convert: a copy of a picture in another type that appears
// whole or not at all and replaces nothing unless asked to.
#include "codec/image.h"
#include "file_text.h"
#include "library/core/save_as.h"
#include "temp_home.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace vistrel;
using vistrel::test::ReadText;
using vistrel::test::TempHome;
using vistrel::test::WriteText;

namespace {

Bitmap Picture()
{
    Bitmap b(7, 5);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x)
            b.at(x, y) = MakeArgb(uint8_t(x * 30), uint8_t(y * 50), 99);
    return b;
}

std::string WritePicture(const TempHome& home, const std::string& name, cximage_type type)
{
    const std::string path = home.file(name);
    EXPECT_NE(CImage(Picture(), 24).Save(path.c_str(), type), 0);
    return path;
}

size_t EntriesIn(const std::string& folder)
{
    return size_t(std::distance(std::filesystem::directory_iterator(folder), {}));
}

} // namespace

TEST(SavePictureCopy, WritesTheChosenType)
{
    TempHome home;
    const std::string source = WritePicture(home, "shot.bmp", IMAGE_TYPE_BMP);
    const SaveCopyResult r = SavePictureCopy(source, home.file("copy.png"), IMAGE_TYPE_PNG, false);
    EXPECT_EQ(r.status, SaveCopyStatus::Saved) << r.error;
    EXPECT_EQ(ReadText(home.file("copy.png")).substr(1, 3), "PNG");
    const CImage back(home.file("copy.png").c_str(), IMAGE_TYPE_PNG);
    ASSERT_TRUE(back.IsValid());
    EXPECT_EQ(back.bitmap().pixels, Picture().pixels);
}

TEST(SavePictureCopy, AGifCaptureIsReadToo)
{
    TempHome home;
    const std::string source = WritePicture(home, "shot.gif", IMAGE_TYPE_GIF);
    EXPECT_EQ(SavePictureCopy(source, home.file("copy.bmp"), IMAGE_TYPE_BMP, false).status, SaveCopyStatus::Saved);
    EXPECT_EQ(CImage(home.file("copy.bmp").c_str(), IMAGE_TYPE_BMP).GetWidth(), 7);
}

TEST(SavePictureCopy, AnExistingTargetIsKeptUnlessReplacing)
{
    TempHome home;
    const std::string source = WritePicture(home, "shot.png", IMAGE_TYPE_PNG);
    WriteText(home.file("taken.jpg"), "keep me");
    const SaveCopyResult refused = SavePictureCopy(source, home.file("taken.jpg"), IMAGE_TYPE_JPG, false);
    EXPECT_EQ(refused.status, SaveCopyStatus::Exists);
    EXPECT_EQ(ReadText(home.file("taken.jpg")), "keep me");
    EXPECT_EQ(EntriesIn(home.path()), 2u);

    EXPECT_EQ(SavePictureCopy(source, home.file("taken.jpg"), IMAGE_TYPE_JPG, true).status, SaveCopyStatus::Saved);
    EXPECT_TRUE(CImage(home.file("taken.jpg").c_str(), IMAGE_TYPE_JPG).IsValid());
    EXPECT_EQ(EntriesIn(home.path()), 2u);
}

TEST(SavePictureCopy, DamagedOrMissingSourcesWriteNothing)
{
    TempHome home;
    const std::string source = WritePicture(home, "shot.png", IMAGE_TYPE_PNG);
    const std::string whole = ReadText(source);
    WriteText(home.file("cut.png"), whole.substr(0, whole.size() / 2));
    WriteText(home.file("old.bmp"), "old");

    SaveCopyResult r = SavePictureCopy(home.file("cut.png"), home.file("out.bmp"), IMAGE_TYPE_BMP, false);
    EXPECT_EQ(r.status, SaveCopyStatus::Damaged);
    EXPECT_NE(r.error.find("cut.png"), std::string::npos);
    r = SavePictureCopy(home.file("cut.png"), home.file("old.bmp"), IMAGE_TYPE_BMP, true);
    EXPECT_EQ(r.status, SaveCopyStatus::Damaged);
    EXPECT_EQ(ReadText(home.file("old.bmp")), "old");

    r = SavePictureCopy(home.file("missing.png"), home.file("out.bmp"), IMAGE_TYPE_BMP, false);
    EXPECT_EQ(r.status, SaveCopyStatus::CannotRead);
    EXPECT_NE(r.error.find("No such file"), std::string::npos) << r.error;
    std::filesystem::create_directory(home.file("folder.png"));
    r = SavePictureCopy(home.file("folder.png"), home.file("out.bmp"), IMAGE_TYPE_BMP, false);
    EXPECT_EQ(r.status, SaveCopyStatus::CannotRead);

    r = SavePictureCopy(home.file("notes.txt"), home.file("out.bmp"), IMAGE_TYPE_BMP, false);
    EXPECT_EQ(r.status, SaveCopyStatus::NotAPicture);
    EXPECT_FALSE(std::filesystem::exists(home.file("out.bmp")));
}

TEST(SavePictureCopy, AnUnwritableTargetLeavesNothing)
{
    TempHome home;
    const std::string source = WritePicture(home, "shot.png", IMAGE_TYPE_PNG);
    for (bool replace : {false, true}) {
        const SaveCopyResult r = SavePictureCopy(source, home.file("no/folder/x.png"), IMAGE_TYPE_PNG, replace);
        EXPECT_EQ(r.status, SaveCopyStatus::CannotWrite);
        EXPECT_FALSE(r.error.empty());
    }
    EXPECT_EQ(EntriesIn(home.path()), 1u);
}
