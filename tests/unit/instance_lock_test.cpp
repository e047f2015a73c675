#include "base/canonical_path.h"
#include "base/instance_lock.h"
#include "base/program_folder.h"
#include "temp_home.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sys/stat.h>

using namespace vistrel;
using vistrel::test::TempHome;

TEST(InstanceLock, OneHolderPerProgramFolderUntilReleased)
{
    TempHome home;
    setenv("XDG_RUNTIME_DIR", home.path().c_str(), 1);
    chmod(home.path().c_str(), 0700);
    {
        InstanceLock first("/opt/a");
        ASSERT_EQ(first.TryAcquire(), InstanceLock::State::Acquired);
        InstanceLock second("/opt/a/");
        EXPECT_EQ(second.TryAcquire(), InstanceLock::State::HeldByAnother);
        EXPECT_EQ(second.socketPath(), first.socketPath());
        InstanceLock other("/opt/b"); // another program folder is another program
        EXPECT_EQ(other.TryAcquire(), InstanceLock::State::Acquired);
        EXPECT_NE(other.socketPath(), first.socketPath());
    }
    InstanceLock again("/opt/a");
    EXPECT_EQ(again.TryAcquire(), InstanceLock::State::Acquired);
    unsetenv("XDG_RUNTIME_DIR");
}

TEST(InstanceLock, EverySpellingOfAFolderMeetsTheSameLock)
{
    TempHome home;
    const std::string real = home.file("real");
    std::filesystem::create_directories(real + "/sub");
    std::filesystem::create_directory_symlink(real, home.file("link"));
    const std::string key = InstanceKey(real);
    for (const std::string& spelling :
         {home.file("link"), real + "/", real + "/./", real + "/sub/..", home.path() + "//real", home.file("link/sub/../")})
        EXPECT_EQ(InstanceKey(spelling), key) << spelling;
    // Relative to the current folder.
    const auto cwd = std::filesystem::current_path();
    std::filesystem::current_path(home.path());
    EXPECT_EQ(InstanceKey("link"), key);
    std::filesystem::current_path(cwd);
    // A folder not made yet, under different spellings of its parent.
    EXPECT_EQ(CanonicalPath(home.file("link/new/x/..")), real + "/new");
    EXPECT_EQ(InstanceKey(home.file("link/new")), InstanceKey(real + "/new"));
    EXPECT_NE(InstanceKey(real + "/new"), key);
}

TEST(InstanceLock, ARuntimeFolderOthersCanEnterIsNotUsed)
{
    TempHome home;
    chmod(home.path().c_str(), 0777);
    setenv("XDG_RUNTIME_DIR", home.path().c_str(), 1);
    EXPECT_NE(RuntimeFolder(), home.path());
    chmod(home.path().c_str(), 0700);
    EXPECT_EQ(RuntimeFolder(), home.path());
    unsetenv("XDG_RUNTIME_DIR");
}

TEST(ProgramFolder, HomeOverridesAndLosesTrailingSlash)
{
    TempHome home;
    SetProgramFolderOverride(home.path() + "//");
    EXPECT_EQ(GetProgramFolder(), home.path());
    unsetenv("VISTREL_HOME");
    EXPECT_FALSE(GetProgramFolder().empty());
}
