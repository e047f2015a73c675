// Cursors loaded from files: which image of a .cur or .ico is used and where
// its hot spot is, the file-name rule of the chooser, damaged files refused.
#include "codec/decode.h"
#include "icons/core/icon_resource.h"
#include "pe_fixture.h"
#include "record/core/cursor_file.h"
#include "temp_home.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace vistrel;
using namespace vistrel::test;

namespace {

struct Entry {
    Bytes image;
    uint16_t hotX = 0, hotY = 0;
};

// The icon-file layout with type 1 (icon) or 2 (cursor): header, directory,
// images back to back.
Bytes IconFileBytes(uint16_t type, const std::vector<Entry>& entries)
{
    Bytes out(6 + 16 * entries.size(), 0);
    Put16(out, 2, type);
    Put16(out, 4, uint16_t(entries.size()));
    for (size_t i = 0; i < entries.size(); ++i) {
        const size_t at = 6 + 16 * i;
        Put16(out, at + 4, type == 2 ? entries[i].hotX : 1);
        Put16(out, at + 6, type == 2 ? entries[i].hotY : 32);
        Put32(out, at + 8, uint32_t(entries[i].image.size()));
        Put32(out, at + 12, uint32_t(out.size()));
        out.insert(out.end(), entries[i].image.begin(), entries[i].image.end());
    }
    return out;
}

} // namespace

TEST(CursorFile, ACursorFileGivesTheImageNearest32WithItsOwnHotSpot)
{
    const Bytes cur = IconFileBytes(2, {{DibIconImage(16, 32, 1), 1, 2},
                                        {DibIconImage(32, 32, 2), 5, 7},
                                        {DibIconImage(48, 32, 3), 9, 9}});
    std::string error;
    const auto cursor = CursorFromFileBytes(cur, &error);
    ASSERT_TRUE(cursor) << error;
    EXPECT_EQ(cursor->image.width, 32);
    EXPECT_EQ(cursor->image.height, 32);
    EXPECT_EQ(cursor->hotX, 5);
    EXPECT_EQ(cursor->hotY, 7);
    // The picture is the image's own, mask and all.
    const auto decoded = DecodeImage(IconFileBytes(1, {{DibIconImage(32, 32, 2)}}), IMAGE_TYPE_ICO);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(cursor->image.pixels, decoded->bitmap.pixels);

    // Equally far: the larger. A huge image loses to a small near one.
    EXPECT_EQ(CursorFromFileBytes(IconFileBytes(2, {{DibIconImage(16, 8)}, {DibIconImage(48, 8)}}))->image.width,
              48);
    EXPECT_EQ(CursorFromFileBytes(IconFileBytes(2, {{PngIconImage(256)}, {DibIconImage(24, 4)}}))->image.width, 24);

    // A hot spot beyond the picture is kept on its edge.
    const auto far = CursorFromFileBytes(IconFileBytes(2, {{DibIconImage(32, 24), 900, 40}}));
    ASSERT_TRUE(far);
    EXPECT_EQ(far->hotX, 31);
    EXPECT_EQ(far->hotY, 31);

    // The icon reader keeps to icons.
    EXPECT_FALSE(ParseIcoFile(cur));
}

TEST(CursorFile, AnIconWithAPngImagePointsWithItsCentre)
{
    TempHome home;
    const Bytes png = PngIconImage(32, 4);
    WriteFile(home.file("hand.ico"), IconFileBytes(1, {{png}}));
    std::string error;
    const auto cursor = ReadCursorFile(home.file("hand.ico"), &error);
    ASSERT_TRUE(cursor) << error;
    EXPECT_EQ(cursor->hotX, 16);
    EXPECT_EQ(cursor->hotY, 16);
    const auto decoded = DecodeImage(png, IMAGE_TYPE_PNG);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(cursor->image.pixels, decoded->bitmap.pixels); // straight alpha, as stored
    EXPECT_EQ(AlphaOf(cursor->image.at(0, 0)), 0);
}

TEST(CursorFile, OnlyIcoAndCurNamesAreTakenInAnyLetterCase)
{
    for (const char* name : {"arrow.cur", "ARROW.CUR", "/home/me/Hand.Ico", "x.iCo", ".cur"})
        EXPECT_TRUE(IsCursorFileName(name)) << name;
    for (const char* name : {"busy.ani", "arrow.cur.bak", "arrowcur", "cur", "", "a.cu", "picture.png"})
        EXPECT_FALSE(IsCursorFileName(name)) << name;
}

TEST(CursorFile, DamagedFilesAreRefusedWithAReason)
{
    const Bytes good = IconFileBytes(2, {{DibIconImage(32, 8), 3, 3}, {PngIconImage(16)}});
    ASSERT_TRUE(CursorFromFileBytes(good));
    // Every cut of the file: refused or read, never a crash (the sanitizers watch).
    for (size_t length = 0; length < good.size(); ++length) {
        std::string error;
        const auto cursor = CursorFromFileBytes(std::span(good.data(), length), &error);
        if (!cursor) {
            EXPECT_FALSE(error.empty()) << length;
        }
    }

    Bytes wrongType = good;
    Put16(wrongType, 2, 3);
    Bytes outside = good;
    Put32(outside, 6 + 12, uint32_t(good.size()));
    Bytes huge = good;
    Put32(huge, 6 + 8, 0xFFFFFFF0u);
    Bytes none = IconFileBytes(2, {});
    // Images that are there but do not decode: a bitmap header claiming a
    // picture larger than its bytes.
    Bytes lying = DibIconImage(32, 32);
    Put32(lying, 4, 30000);
    Put32(lying, 8, 60000);
    for (const Bytes& bad : {wrongType, outside, huge, none, IconFileBytes(2, {{lying}, {lying}})}) {
        std::string error;
        EXPECT_FALSE(CursorFromFileBytes(bad, &error));
        EXPECT_FALSE(error.empty());
    }

    TempHome home;
    std::string error;
    EXPECT_FALSE(ReadCursorFile(home.file("missing.cur"), &error));
    EXPECT_FALSE(error.empty());
    std::filesystem::create_directory(home.file("folder.cur"));
    EXPECT_FALSE(ReadCursorFile(home.file("folder.cur"), &error));
}
