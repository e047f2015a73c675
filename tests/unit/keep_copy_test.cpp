#include "base/keep_copy.h"
#include "failing_links.h"
#include "file_text.h"
#include "temp_home.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <sys/stat.h>

using namespace vistrel;
using vistrel::test::TempHome;
using vistrel::test::ReadText;
using vistrel::test::WriteText;
using vistrel::test::LinkDenied;
using vistrel::test::LinkRefusedXdev;

namespace {

ino_t Inode(const std::string& path)
{
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? st.st_ino : 0;
}

} // namespace

TEST(KeepCopy, EachKeepTakesTheFirstFreeNameAndReplacesNothing)
{
    TempHome home;
    const std::string file = home.file("capture.cfg");
    const std::string stem = file + ".damaged";
    WriteText(file, "first");
    ASSERT_EQ(KeepUnderNewName(file, stem), stem);
    EXPECT_EQ(Inode(stem), Inode(file)); // a hard link where one can be made

    WriteText(stem + ".1", "someone else's"); // taken names are passed over
    std::filesystem::remove(file);
    WriteText(file, "second");
    ASSERT_EQ(KeepUnderNewName(file, stem), stem + ".2");
    EXPECT_EQ(ReadText(stem), "first");
    EXPECT_EQ(ReadText(stem + ".1"), "someone else's");
    EXPECT_EQ(ReadText(stem + ".2"), "second");
}

TEST(KeepCopy, WithoutHardLinksTheBytesAreCopiedUnderAFreeName)
{
    TempHome home;
    const std::string file = home.file("capture.cfg");
    const std::string stem = file + ".damaged";
    const std::string bytes("con\0fig\xff", 8);
    WriteText(file, bytes);
    WriteText(stem, "older copy");
    auto kept = KeepUnderNewName(file, stem, LinkRefusedXdev);
    ASSERT_EQ(kept, stem + ".1");
    EXPECT_EQ(ReadText(*kept), bytes);
    EXPECT_NE(Inode(*kept), Inode(file)); // a copy of its own
    EXPECT_EQ(ReadText(stem), "older copy");

    // A copy needs a regular file to read; a failed one leaves nothing behind.
    std::filesystem::create_directory(home.file("folder"));
    EXPECT_FALSE(KeepUnderNewName(home.file("folder"), home.file("folder.kept"), LinkRefusedXdev));
    EXPECT_FALSE(std::filesystem::exists(home.file("folder.kept")));
}

TEST(KeepCopy, OtherFailuresAndMissingFiles)
{
    TempHome home;
    const std::string file = home.file("capture.cfg");
    WriteText(file, "x");
    // An error that a copy would not get round: not kept, nothing made.
    EXPECT_FALSE(KeepUnderNewName(file, file + ".damaged", LinkDenied));
    EXPECT_FALSE(std::filesystem::exists(file + ".damaged"));
    // No file: nothing to keep, which is not a failure.
    EXPECT_EQ(KeepUnderNewName(home.file("absent"), home.file("absent.damaged")), "");
}

TEST(KeepCopy, ASymbolicLinkKeepsTheFileItNames)
{
    TempHome home;
    WriteText(home.file("real.cfg"), "damaged bytes");
    std::filesystem::create_symlink(home.file("real.cfg"), home.file("capture.cfg"));
    auto kept = KeepUnderNewName(home.file("capture.cfg"), home.file("capture.cfg.damaged"));
    ASSERT_TRUE(kept);
    // Not a second link to the link: replacing real.cfg later must not lose the bytes.
    EXPECT_FALSE(std::filesystem::is_symlink(*kept));
    EXPECT_EQ(Inode(*kept), Inode(home.file("real.cfg")));
}
