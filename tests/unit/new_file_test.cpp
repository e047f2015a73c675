#include "base/atomic_file.h"
#include "base/new_file.h"
#include "file_text.h"
#include "temp_home.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <fstream>
#include <stdexcept>
#include <thread>

using namespace vistrel;
using vistrel::test::TempHome;
using vistrel::test::ReadText;

namespace {

std::function<std::optional<std::string>()> Candidates(const std::string& folder, std::vector<std::string> names)
{
    auto next = std::make_shared<size_t>(0);
    return [=]() -> std::optional<std::string> {
        if (*next >= names.size())
            return std::nullopt;
        return folder + "/" + names[(*next)++];
    };
}

std::function<bool(int)> Writes(const std::string& text)
{
    return [text](int fd) { return WriteAllToFd(fd, {reinterpret_cast<const uint8_t*>(text.data()), text.size()}); };
}

size_t FilesIn(const std::string& folder)
{
    return size_t(std::distance(std::filesystem::directory_iterator(folder), {}));
}

} // namespace

TEST(WriteNewFile, TakenNamesAreSkippedAndKeptAsTheyWere)
{
    TempHome home;
    std::ofstream(home.file("a")) << "old a";
    std::filesystem::create_symlink(home.file("elsewhere"), home.file("b")); // a dangling link is taken too
    NewFileResult r = WriteNewFile(home.path(), Candidates(home.path(), {"a", "b", "c", "d"}), Writes("new"));
    EXPECT_EQ(r.path, home.file("c"));
    EXPECT_EQ(ReadText(home.file("c")), "new");
    EXPECT_EQ(ReadText(home.file("a")), "old a");
    EXPECT_FALSE(std::filesystem::exists(home.file("elsewhere")));
    EXPECT_FALSE(std::filesystem::exists(home.file("d")));

    NewFileResult none = WriteNewFile(home.path(), Candidates(home.path(), {"a", "c"}), Writes("newer"));
    EXPECT_TRUE(none.path.empty());
    EXPECT_NE(none.error.find("no free file name"), std::string::npos);
    EXPECT_EQ(ReadText(home.file("c")), "new");
    EXPECT_EQ(FilesIn(home.path()), 3u);
}

TEST(WriteNewFile, WritersRacingForOneNameEachKeepTheirFile)
{
    TempHome home;
    constexpr int kWriters = 8;
    std::vector<std::string> names;
    for (int i = 0; i < kWriters; ++i)
        names.push_back("shot" + std::to_string(i));
    std::vector<NewFileResult> results(kWriters);
    {
        std::vector<std::jthread> writers;
        for (int i = 0; i < kWriters; ++i)
            writers.emplace_back([&, i] {
                results[i] = WriteNewFile(home.path(), Candidates(home.path(), names), Writes("writer " + std::to_string(i)));
            });
    }
    std::set<std::string> paths;
    for (int i = 0; i < kWriters; ++i) {
        ASSERT_FALSE(results[i].path.empty()) << results[i].error;
        EXPECT_EQ(ReadText(results[i].path), "writer " + std::to_string(i));
        paths.insert(results[i].path);
    }
    EXPECT_EQ(paths.size(), size_t(kWriters));
}

TEST(WriteNewFile, AFailedWriteLeavesNothingAndUsesNoName)
{
    TempHome home;
    int asked = 0;
    auto counting = [&]() -> std::optional<std::string> {
        ++asked;
        return home.file("x");
    };
    auto halfThenFail = [](int fd) {
        Writes("partial")(fd);
        return false;
    };
    EXPECT_TRUE(WriteNewFile(home.path(), counting, halfThenFail).path.empty());
    EXPECT_TRUE(WriteNewFile(home.path(), counting, [](int) -> bool { throw std::bad_alloc(); }).path.empty());
    EXPECT_EQ(asked, 0);
    EXPECT_EQ(FilesIn(home.path()), 0u);

    NewFileResult missing = WriteNewFile(home.file("no/such"), counting, Writes("x"));
    EXPECT_TRUE(missing.path.empty());
    EXPECT_FALSE(missing.error.empty());
}

TEST(CreateFileExclusively, NeverOpensWhatIsThere)
{
    TempHome home;
    std::ofstream(home.file("kept")) << "kept";
    std::filesystem::create_symlink(home.file("target"), home.file("link"));
    EXPECT_LT(CreateFileExclusively(home.file("kept")), 0);
    EXPECT_EQ(errno, EEXIST);
    EXPECT_LT(CreateFileExclusively(home.file("link")), 0);
    EXPECT_FALSE(std::filesystem::exists(home.file("target")));
    int fd = CreateFileExclusively(home.file("fresh"));
    ASSERT_GE(fd, 0);
    close(fd);
    EXPECT_EQ(ReadText(home.file("kept")), "kept");
}

TEST(CreateNewFile, TakesTheFirstFreeCandidateAndKeepsItOpen)
{
    TempHome home;
    std::ofstream(home.file("a")) << "old a";
    CreatedFile created = CreateNewFile(home.path(), Candidates(home.path(), {"a", "b", "c"}));
    ASSERT_TRUE(created.fd);
    EXPECT_EQ(created.result.path, home.file("b"));
    ASSERT_TRUE(Writes("in place")(created.fd.get()));
    created.fd.Reset();
    EXPECT_EQ(ReadText(home.file("b")), "in place");
    EXPECT_EQ(ReadText(home.file("a")), "old a");
    EXPECT_FALSE(std::filesystem::exists(home.file("c")));

    CreatedFile none = CreateNewFile(home.path(), Candidates(home.path(), {"a", "b"}));
    EXPECT_FALSE(none.fd);
    EXPECT_TRUE(none.result.nameTaken);
    CreatedFile failed = CreateNewFile(home.path(), Candidates(home.file("no/such"), {"x", "y"}));
    EXPECT_FALSE(failed.fd);
    EXPECT_FALSE(failed.result.nameTaken);
    EXPECT_NE(failed.result.error.find("cannot create"), std::string::npos);
}

TEST(SuffixedNames, TheNameThenNineHundredNinetyNineSortedAfterIt)
{
    NameSource names = SuffixedNames("/f/icon", ".ico");
    EXPECT_EQ(*names(), "/f/icon.ico");
    EXPECT_EQ(*names(), "/f/icon_001.ico");
    EXPECT_EQ(*names(), "/f/icon_002.ico");
    uint32_t count = 3;
    std::string last;
    while (auto name = names()) {
        last = *name;
        ++count;
    }
    EXPECT_EQ(count, kSuffixedNameCandidates);
    EXPECT_EQ(last, "/f/icon_999.ico");
    EXPECT_EQ(SuffixedName("x", "", 7), "x_007");
}

TEST(ReplaceFile, LeavesNoTemporaryBehind)
{
    TempHome home;
    ASSERT_TRUE(WriteFileAtomically(home.file("cfg"), std::vector<uint8_t>{1, 2, 3}));
    EXPECT_FALSE(ReplaceFile(home.file("cfg"), [](int fd) {
        Writes("half")(fd);
        return false;
    }));
    EXPECT_EQ(ReadText(home.file("cfg")), std::string("\1\2\3"));
    EXPECT_EQ(FilesIn(home.path()), 1u);
}
