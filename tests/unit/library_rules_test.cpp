#include "commands/menu_layout.h"
#include "i18n/language_texts.h"
#include "library/core/file_moves.h"
#include "library/core/list_edits.h"
#include "library/core/list_texts.h"
#include "library/core/save_as_types.h"
#include "temp_home.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sys/stat.h>

using namespace vistrel;

namespace {

void Write(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

std::string Read(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool Exists(const std::string& path)
{
    struct stat info {};
    return stat(path.c_str(), &info) == 0;
}

} // namespace

TEST(LibraryTexts, SizesInBytesBelowOneKilobyteThenWholeKilobytes)
{
    EXPECT_EQ(SizeText(0), "0 Bytes");
    EXPECT_EQ(SizeText(1023), "1023 Bytes");
    EXPECT_EQ(SizeText(1024), "1KB");
    EXPECT_EQ(SizeText(2047), "1KB");
    EXPECT_EQ(SizeText(2048), "2KB");
    // Past 32 bits the size is not cut to its low bits (which would read 5 Bytes).
    EXPECT_EQ(SizeText((uint64_t(1) << 32) + 5), "4194304KB");
}

TEST(LibraryTexts, DateNamesTheDayAndMonth)
{
    const char* oldZone = std::getenv("TZ");
    const std::string saved = oldZone ? oldZone : "";
    setenv("TZ", "UTC", 1);
    tzset();
    EXPECT_EQ(DateText(0), "Thursday, January 01, 1970");
    EXPECT_EQ(DateText(1700000000), "Tuesday, November 14, 2023");
    oldZone ? setenv("TZ", saved.c_str(), 1) : unsetenv("TZ");
    tzset();
}

TEST(LibraryTexts, FileFactsOfAFileAndOfNone)
{
    test::TempHome home;
    Write(home.file("a.bmp"), std::string(1500, 'x'));
    const auto facts = ReadFileFacts(home.file("a.bmp"));
    ASSERT_TRUE(facts);
    EXPECT_EQ(facts->size, 1500u);
    EXPECT_LE(std::abs(double(facts->created - std::time(nullptr))), 60.0);
    EXPECT_FALSE(ReadFileFacts(home.file("gone.bmp")));
    EXPECT_FALSE(ReadFileFacts(""));
}

TEST(LibraryEdits, RemovingItemsTwoAndFiveOfSixKeepsTheOthersInOrder)
{
    std::vector<std::string> list {"1", "2", "3", "4", "5", "6"};
    RemoveEntries(list, {4, 1});
    EXPECT_EQ(list, (std::vector<std::string> {"1", "3", "4", "6"}));
    RemoveEntries(list, {0, 0, 9}); // a repeat and an index past the end
    EXPECT_EQ(list, (std::vector<std::string> {"3", "4", "6"}));
    RemoveEntries(list, {0, 1, 2});
    EXPECT_TRUE(list.empty());
}

TEST(LibraryEdits, RenameTargetTrimsAndKeepsTheFolder)
{
    EXPECT_EQ(RenameTarget("/c/Image001.bmp", "  holiday.bmp \t"), "/c/holiday.bmp");
    EXPECT_EQ(RenameTarget("/c/Image001.bmp", "Image 2.bmp"), "/c/Image 2.bmp");
    // Empty, blank or the same name: nothing to do, so the file system is not asked.
    EXPECT_EQ(RenameTarget("/c/Image001.bmp", ""), std::nullopt);
    EXPECT_EQ(RenameTarget("/c/Image001.bmp", "   "), std::nullopt);
    EXPECT_EQ(RenameTarget("/c/Image001.bmp", "Image001.bmp"), std::nullopt);
    // A name that leads out of the folder is no rename.
    EXPECT_EQ(RenameTarget("/c/Image001.bmp", "../x.bmp"), std::nullopt);
    EXPECT_EQ(RenameTarget("/c/Image001.bmp", "sub/x.bmp"), std::nullopt);
    EXPECT_EQ(RenameTarget("/c/Image001.bmp", ".."), std::nullopt);
    EXPECT_EQ(FileNameOf("/c/d/e.png"), "e.png");
    EXPECT_EQ(FileNameOf("e.png"), "e.png");
}

TEST(SaveAs, TheChosenFilterDecidesTheExtension)
{
    auto target = SaveAsTargetFor("/p/shot.png", 2); // ".png" typed with the JPEG filter
    EXPECT_EQ(target.path, "/p/shot.jpg");
    EXPECT_EQ(target.type, IMAGE_TYPE_JPG);
    EXPECT_EQ(SaveAsTargetFor("/p/shot", 2).path, "/p/shot.jpg");
    EXPECT_EQ(SaveAsTargetFor("/p/shot.old.tif", 1).path, "/p/shot.old.bmp");
    EXPECT_EQ(SaveAsTargetFor("/p.d/shot", 3).path, "/p.d/shot.tif"); // a dot in the folder is no extension
    EXPECT_EQ(SaveAsTargetFor("/p/shot.bmp", 4).type, IMAGE_TYPE_PNG);
    EXPECT_EQ(SaveAsTargetFor("/p/shot.bmp", 5).path, "/p/shot.gif");
    target = SaveAsTargetFor("/p/shot.bmp", 0);
    EXPECT_EQ(target.path, "/p/shot");
    EXPECT_EQ(target.type, IMAGE_TYPE_BMP);
    EXPECT_EQ(SaveAsFilter(),
              "Bitmap Files(*.bmp)|*.bmp|Jpeg Files(*.jpg)|*.jpg|Tiff Files(*.tif)|*.tif|Png Files(*.png)|*.png||");
}

TEST(SaveAs, PicturesAndGifCapturesAreRead)
{
    EXPECT_EQ(ReadableImageType("/a/x.BMP"), IMAGE_TYPE_BMP);
    EXPECT_EQ(ReadableImageType("/a/x.jpg"), IMAGE_TYPE_JPG);
    EXPECT_EQ(ReadableImageType("/a/x.tif"), IMAGE_TYPE_TIF);
    EXPECT_EQ(ReadableImageType("/a/x.Png"), IMAGE_TYPE_PNG);
    EXPECT_EQ(ReadableImageType("/a/x.gif"), IMAGE_TYPE_GIF);
    EXPECT_EQ(ReadableImageType("/a/x.ico"), -1);
    EXPECT_EQ(ReadableImageType("/a/x.avi"), -1);
    EXPECT_EQ(ReadableImageType("/a.gif/x"), -1);
}

TEST(FileMoves, RenameAndMoveNeverReplace)
{
    test::TempHome home;
    const std::string a = home.file("a.bmp"), b = home.file("b.bmp"), c = home.file("c.bmp");
    Write(a, "first");
    Write(b, "second");
    EXPECT_EQ(RenameNoReplace(a, b), EEXIST);
    EXPECT_EQ(Read(a), "first");
    EXPECT_EQ(Read(b), "second");
    EXPECT_EQ(RenameNoReplace(a, c), 0);
    EXPECT_FALSE(Exists(a));
    EXPECT_EQ(Read(c), "first");
    EXPECT_EQ(MoveNoReplace(c, b), EEXIST);
    EXPECT_EQ(Read(c), "first");
    mkdir(home.file("sub").c_str(), 0700);
    EXPECT_EQ(MoveNoReplace(c, home.file("sub/c.bmp")), 0);
    EXPECT_EQ(Read(home.file("sub/c.bmp")), "first");
    EXPECT_EQ(MoveNoReplace(home.file("gone.bmp"), home.file("x.bmp")), ENOENT);
}

TEST(FileMoves, CopyReplacesButNotItself)
{
    test::TempHome home;
    const std::string a = home.file("a.bmp"), b = home.file("b.bmp");
    Write(a, "new content");
    Write(b, "old");
    EXPECT_EQ(CopyReplacing(a, b), 0);
    EXPECT_EQ(Read(b), "new content");
    EXPECT_EQ(Read(a), "new content");
    EXPECT_EQ(CopyReplacing(a, a), EINVAL);
    EXPECT_EQ(Read(a), "new content");
    EXPECT_NE(CopyReplacing(home.file("gone"), b), 0);
    EXPECT_EQ(Read(b), "new content");
}

// Every text of the list's context menus has its key in the language files'
// section of that menu, and every key there is shown.
TEST(ListMenus, TextsAreTheLanguageKeysOfTheirKind)
{
    for (int kind = 0; kind < 3; ++kind) {
        std::vector<std::string_view> texts;
        auto collect = [&](auto& self, std::span<const ContextMenuEntry> entries) -> void {
            for (const ContextMenuEntry& entry : entries) {
                if (entry.id == 0)
                    continue;
                texts.push_back(entry.text);
                self(self, entry.submenu);
            }
        };
        collect(collect, ListContextMenuLayout(kind));
        std::vector<std::string_view> keys(ListMenuKeys(kind).begin(), ListMenuKeys(kind).end());
        std::sort(texts.begin(), texts.end());
        std::sort(keys.begin(), keys.end());
        EXPECT_EQ(texts, keys) << "kind " << kind;
    }
    const auto saveAs = [](int kind) {
        const auto menu = ListContextMenuLayout(kind);
        return std::any_of(menu.begin(), menu.end(), [](const ContextMenuEntry& e) { return e.text == "Save As..."; });
    };
    EXPECT_TRUE(saveAs(1));
    EXPECT_FALSE(saveAs(0));
    EXPECT_FALSE(saveAs(2));
}
