#include "platform/posix/instance_lock.h"
#include "platform/posix/program_folder.h"
#include "temp_home.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace vistrel;
using vistrel::test::TempHome;

TEST(InstanceLock, OneHolderPerProgramFolderUntilReleased)
{
    TempHome home;
    setenv("XDG_RUNTIME_DIR", home.path().c_str(), 1);
    {
        InstanceLock first("/opt/a");
        ASSERT_EQ(first.TryAcquire(), InstanceLock::State::Acquired);
        InstanceLock second("/opt/a");
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

TEST(ProgramFolder, HomeOverridesAndLosesTrailingSlash)
{
    TempHome home;
    SetProgramFolderOverride(home.path() + "//");
    EXPECT_EQ(GetProgramFolder(), home.path());
    unsetenv("VISTREL_HOME");
    EXPECT_FALSE(GetProgramFolder().empty());
}
