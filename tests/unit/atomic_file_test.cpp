#include "base/atomic_file.h"
#include "temp_home.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sys/stat.h>

using namespace vistrel;
using vistrel::test::TempHome;

namespace {
std::string Read(const std::string& path)
{
    std::ifstream in(path);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}
std::span<const uint8_t> Bytes(const std::string& s) { return {reinterpret_cast<const uint8_t*>(s.data()), s.size()}; }
} // namespace

TEST(AtomicFile, ReplacingKeepsModeAndLinksAndFailureKeepsOldContent)
{
    TempHome home;
    const std::string real = home.file("real.cfg"), link = home.file("link.cfg");
    ASSERT_TRUE(WriteFileAtomically(real, Bytes("one")));
    chmod(real.c_str(), 0600);
    std::filesystem::create_symlink(real, link);

    ASSERT_TRUE(WriteFileAtomically(link, Bytes("two")));
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(Read(real), "two");
    struct stat st {};
    ASSERT_EQ(stat(real.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);

    EXPECT_FALSE(ReplaceFile(real, [](int fd) { return WriteAllToFd(fd, Bytes("partial")) && false; }));
    EXPECT_FALSE(ReplaceFile(real, [](int) -> bool { throw std::bad_alloc(); }));
    EXPECT_EQ(Read(real), "two");
    EXPECT_FALSE(WriteFileAtomically(home.path(), Bytes("x"))); // a folder is never replaced
    size_t files = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(home.path()))
        ++files;
    EXPECT_EQ(files, 2u); // no temporary file left behind
}
