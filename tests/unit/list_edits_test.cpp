// Delete and rename of the captured-file list: which entries go or change, in
// which order, and what reaches the file system.
#include "base/file_moves.h"
#include "file_text.h"
#include "library/core/list_edits.h"
#include "temp_home.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cmath>
#include <filesystem>
#include <set>

using namespace vistrel;
using vistrel::test::ReadText;
using vistrel::test::TempHome;
using vistrel::test::WriteText;

namespace {

using Paths = std::vector<std::string>;

Paths SixFiles()
{
    return {"/c/1.bmp", "/c/2.bmp", "/c/3.bmp", "/c/4.bmp", "/c/5.bmp", "/c/6.bmp"};
}

// Removes every file it is asked to except those in refused; records the calls.
struct FakeRemover {
    std::set<std::string> refused;
    Paths asked;
    RemoveFileFunction function()
    {
        return [this](const std::string& path) {
            asked.push_back(path);
            return !refused.contains(path);
        };
    }
};

} // namespace

TEST(DeleteEntries, TwoOfSixKeepTheRestInOrder)
{
    Paths entries = SixFiles();
    // Items 2 and 5 (indices 1 and 4), selected in any order.
    FakeRemover remover;
    const size_t selected[] = {4, 1};
    EXPECT_EQ(DeleteEntries(entries, selected, true, remover.function()), (std::vector<size_t>{1, 4}));
    EXPECT_EQ(entries, (Paths{"/c/1.bmp", "/c/3.bmp", "/c/4.bmp", "/c/6.bmp"}));
    EXPECT_EQ(remover.asked, (Paths{"/c/2.bmp", "/c/5.bmp"}));

    // The window drops the same indices from its images: each keeps its picture.
    Paths images = {"img1", "img2", "img3", "img4", "img5", "img6"};
    const std::vector<size_t> dropped{1, 4};
    EraseAtIndices(images, std::span<const size_t>(dropped));
    EXPECT_EQ(images, (Paths{"img1", "img3", "img4", "img6"}));
}

TEST(DeleteEntries, AllOfThem)
{
    Paths entries = SixFiles();
    FakeRemover remover;
    const size_t selected[] = {0, 1, 2, 3, 4, 5};
    EXPECT_EQ(DeleteEntries(entries, selected, true, remover.function()).size(), 6u);
    EXPECT_TRUE(entries.empty());
}

TEST(DeleteEntries, CancelledKeepsAllAndTouchesNoFile)
{
    Paths entries = SixFiles();
    FakeRemover remover;
    const size_t selected[] = {0, 2};
    EXPECT_TRUE(DeleteEntries(entries, selected, false, remover.function()).empty());
    EXPECT_EQ(entries, SixFiles());
    EXPECT_TRUE(remover.asked.empty());
}

TEST(DeleteEntries, AFileThatStaysStaysListed)
{
    Paths entries = SixFiles();
    FakeRemover remover;
    remover.refused = {"/c/3.bmp"};
    const size_t selected[] = {1, 2, 3, 2, 99}; // a repeat and an index past the end
    EXPECT_EQ(DeleteEntries(entries, selected, true, remover.function()), (std::vector<size_t>{1, 3}));
    EXPECT_EQ(entries, (Paths{"/c/1.bmp", "/c/3.bmp", "/c/5.bmp", "/c/6.bmp"}));
    EXPECT_EQ(remover.asked.size(), 3u);
}

TEST(DeleteEntries, RealFilesGoForGood)
{
    TempHome home;
    Paths entries = {home.file("a.bmp"), home.file("b.bmp"), home.file("gone.bmp")};
    WriteText(entries[0], "a");
    WriteText(entries[1], "b");
    const size_t selected[] = {0, 2}; // a file already gone counts as removed
    EXPECT_EQ(DeleteEntries(entries, selected, true, RemoveFileForGood), (std::vector<size_t>{0, 2}));
    EXPECT_EQ(entries, Paths{home.file("b.bmp")});
    EXPECT_FALSE(std::filesystem::exists(home.file("a.bmp")));
    EXPECT_EQ(ReadText(home.file("b.bmp")), "b");
}

TEST(RenameEntry, EmptyOrSameNameAsksNothing)
{
    Paths entries = {"/c/Bitmap1.bmp"};
    int calls = 0;
    const RenameFileFunction counting = [&](const std::string&, const std::string&) {
        ++calls;
        return 0;
    };
    for (const char* edited : {"", "   ", "Bitmap1.bmp", "  Bitmap1.bmp\t"})
        EXPECT_EQ(RenameEntry(entries, 0, edited, counting).status, RenameStatus::Unchanged) << edited;
    EXPECT_EQ(calls, 0);
    EXPECT_EQ(entries, Paths{"/c/Bitmap1.bmp"});
}

TEST(RenameEntry, TrimmedNameInTheSameFolder)
{
    Paths entries = {"/c/a.bmp", "/c/b.bmp"};
    std::pair<std::string, std::string> asked;
    const RenameFileFunction recording = [&](const std::string& from, const std::string& to) {
        asked = {from, to};
        return 0;
    };
    const RenameResult r = RenameEntry(entries, 1, "  holiday shot.bmp ", recording);
    EXPECT_EQ(r.status, RenameStatus::Renamed);
    EXPECT_EQ(asked, (std::pair<std::string, std::string>{"/c/b.bmp", "/c/holiday shot.bmp"}));
    EXPECT_EQ(entries, (Paths{"/c/a.bmp", "/c/holiday shot.bmp"}));
}

TEST(RenameEntry, NamesThatAreNoFileNamesAreRefused)
{
    Paths entries = {"/c/a.bmp"};
    const RenameFileFunction never = [](const std::string&, const std::string&) {
        ADD_FAILURE() << "the file system was asked";
        return 0;
    };
    for (std::string_view edited : {std::string_view("../a.bmp"), std::string_view("x/y.bmp"), std::string_view(".."),
                                     std::string_view("."), std::string_view("a\0b", 3)})
        EXPECT_EQ(RenameEntry(entries, 0, edited, never).status, RenameStatus::BadName);
    EXPECT_EQ(RenameEntry(entries, 5, "x.bmp", never).status, RenameStatus::Unchanged);
    EXPECT_EQ(entries, Paths{"/c/a.bmp"});
}

TEST(RenameEntry, ATakenNameIsNeverReplaced)
{
    TempHome home;
    Paths entries = {home.file("a.bmp")};
    WriteText(home.file("a.bmp"), "mine");
    WriteText(home.file("b.bmp"), "other");
    const RenameResult r = RenameEntry(entries, 0, "b.bmp", RenameWithoutReplacing);
    EXPECT_EQ(r.status, RenameStatus::Failed);
    EXPECT_EQ(r.error, EEXIST);
    EXPECT_EQ(entries, Paths{home.file("a.bmp")});
    EXPECT_EQ(ReadText(home.file("a.bmp")), "mine");
    EXPECT_EQ(ReadText(home.file("b.bmp")), "other");

    EXPECT_EQ(RenameEntry(entries, 0, "c.bmp", RenameWithoutReplacing).status, RenameStatus::Renamed);
    EXPECT_EQ(entries, Paths{home.file("c.bmp")});
    EXPECT_EQ(ReadText(home.file("c.bmp")), "mine");
    EXPECT_FALSE(std::filesystem::exists(home.file("a.bmp")));
}

TEST(FileMoves, RenameWithoutReplacing)
{
    TempHome home;
    WriteText(home.file("a"), "a");
    WriteText(home.file("b"), "b");
    std::filesystem::create_symlink(home.file("nowhere"), home.file("link"));
    EXPECT_EQ(RenameWithoutReplacing(home.file("a"), home.file("b")), EEXIST);
    EXPECT_EQ(RenameWithoutReplacing(home.file("a"), home.file("link")), EEXIST); // a dangling link is taken
    EXPECT_EQ(RenameWithoutReplacing(home.file("missing"), home.file("c")), ENOENT);
    EXPECT_EQ(RenameWithoutReplacing(home.file("a"), home.file("no/such/folder")), ENOENT);
    EXPECT_EQ(ReadText(home.file("a")), "a");
    EXPECT_EQ(ReadText(home.file("b")), "b");
    EXPECT_EQ(RenameWithoutReplacing(home.file("a"), home.file("c")), 0);
    EXPECT_EQ(ReadText(home.file("c")), "a");
}

TEST(FileMoves, LookAtFile)
{
    TempHome home;
    WriteText(home.file("a"), std::string(1500, 'x'));
    const auto facts = LookAtFile(home.file("a"));
    ASSERT_TRUE(facts);
    EXPECT_EQ(facts->size, 1500u);
    const std::time_t now = std::time(nullptr);
    EXPECT_LE(std::abs(double(now - facts->created)), 120.0);
    EXPECT_FALSE(LookAtFile(home.file("missing")));
}
