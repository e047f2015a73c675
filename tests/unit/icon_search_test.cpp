// The folder search on a temporary tree: which files are found (extensions in
// any case, links to folders never followed, pseudo file systems and unreadable
// folders skipped), the names written, a name taken by another icon giving the
// next free name, an icon already there or without images neither written nor
// counted, counts across searches, and stopping.
#include "icons/core/folder_walk.h"
#include "icons/core/icon_module.h"
#include "icons/core/icon_search.h"
#include "file_text.h"
#include "pe_fixture.h"
#include "temp_home.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <future>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace vistrel;
using namespace vistrel::test;

namespace {

Bytes FileBytes(const std::string& path)
{
    const std::string text = ReadText(path);
    return Bytes(text.begin(), text.end());
}

Bytes IcoBytes(int side, uint8_t seed)
{
    IconResource icon;
    icon.images.push_back(*MakeIconImage(DibIconImage(side, 4, seed)));
    return *IcoFileBytes(icon);
}

std::vector<ResourceName> TwelveGroups()
{
    std::vector<ResourceName> names;
    for (uint16_t id = 1; id <= 10; ++id)
        names.push_back(Numbered(id));
    names.push_back(Named(u"MAIN"));
    names.push_back(Named(u"ALT"));
    return names;
}

struct Outcome {
    std::vector<std::string> written;
    std::vector<std::pair<std::string, int>> progress;
    int finished = 0;
};

class IconSearchTree : public ::testing::Test {
protected:
    void SetUp() override
    {
        namespace fs = std::filesystem;
        for (const char* dir : {"tree/sub", "tree/x.dll", "outside"})
            fs::create_directories(home.file(dir));
        WriteFile(tree + "/a.ico", IcoBytes(16, 1));
        WriteFile(tree + "/B.ICO", IcoBytes(32, 2));
        WriteFile(tree + "/broken.ico", Bytes {0, 0, 1, 0, 9, 0});
        WriteFile(tree + "/readme.txt", IcoBytes(16, 3));
        WriteFile(tree + "/App.EXE", SimpleFixture({Numbered(7), Numbered(9)}, {{16, 4}}, false).bytes);
        WriteFile(tree + "/sub/a.ico", IcoBytes(16, 4)); // same name as the first: a_001.ico
        WriteFile(tree + "/sub/c.Ico", IcoBytes(48, 5));
        WriteFile(tree + "/sub/tools.dll", SimpleFixture(TwelveGroups(), {{16, 4}, {32, 0}}, true).bytes);
        WriteFile(tree + "/x.dll/inner.ico", IcoBytes(16, 6));
        WriteFile(home.file("outside/far.ico"), IcoBytes(16, 7));
        ASSERT_EQ(::symlink(tree.c_str(), (tree + "/loop").c_str()), 0);
        ASSERT_EQ(::symlink(home.file("outside").c_str(), (tree + "/outside").c_str()), 0);
        ASSERT_EQ(::symlink("/proc", (tree + "/proc").c_str()), 0);
        ASSERT_EQ(::symlink((tree + "/B.ICO").c_str(), (tree + "/link.ico").c_str()), 0);
        ASSERT_EQ(::mkfifo((tree + "/fifo.ico").c_str(), 0600), 0);
    }

    IconSearchJob Job(bool ico, bool dll, bool exe, bool subFolders = true) const
    {
        IconSearchJob job;
        job.folder = tree;
        job.ico = ico;
        job.dll = dll;
        job.exe = exe;
        job.subFolders = subFolders;
        job.targetFolder = icons;
        return job;
    }

    static IconSearchCallbacks Recorder(Outcome& out)
    {
        IconSearchCallbacks c;
        c.fileWritten = [&out](const std::string& path) { out.written.push_back(path); };
        c.progress = [&out](const std::string& file, int count) { out.progress.emplace_back(file, count); };
        c.finished = [&out] { ++out.finished; };
        return c;
    }

    Outcome Run(const IconSearchJob& job)
    {
        Outcome out;
        IconSearch search(Recorder(out));
        EXPECT_TRUE(search.Start(job));
        search.Wait();
        EXPECT_FALSE(search.IsRunning());
        EXPECT_EQ(search.IconCount(), int(out.written.size()));
        return out;
    }

    std::vector<std::string> In(const std::string& folder, std::vector<std::string> names) const
    {
        for (auto& n : names)
            n = folder + "/" + n;
        return names;
    }

    TempHome home;
    std::string tree = home.file("tree"), icons = home.file("Capture/Icon"); // made by the search
};

} // namespace

TEST_F(IconSearchTree, IcoFilesAreCopiedUnderTheirNamesOnceEach)
{
    const Outcome out = Run(Job(true, false, false));
    EXPECT_EQ(out.written, In(icons, {"B.ICO", "a.ico", "link.ico", "a_001.ico", "c.Ico", "inner.ico"}));
    EXPECT_EQ(out.finished, 1);
    // Every .ico file handled is reported, broken ones too.
    const std::vector<std::pair<std::string, int>> progress = {
        {tree + "/B.ICO", 1},     {tree + "/a.ico", 2},     {tree + "/broken.ico", 2},
        {tree + "/link.ico", 3},  {tree + "/sub/a.ico", 4}, {tree + "/sub/c.Ico", 5},
        {tree + "/x.dll/inner.ico", 6}}; // as they are named: on Linux case matters
    EXPECT_EQ(out.progress, progress);
    // Both a.ico are kept, the first under its own name.
    EXPECT_EQ(ReadIconFromIcoFile(icons + "/a.ico")->images[0].data,
              ReadIconFromIcoFile(tree + "/a.ico")->images[0].data);
    EXPECT_EQ(ReadIconFromIcoFile(icons + "/a_001.ico")->images[0].data,
              ReadIconFromIcoFile(tree + "/sub/a.ico")->images[0].data);

    const Outcome alone = Run(Job(true, false, false, false));
    EXPECT_TRUE(alone.written.empty()); // all there already
    EXPECT_EQ(alone.progress.size(), 4u);
}

TEST_F(IconSearchTree, NoIconIsLostToANameAndEmptyOnesAreSkipped)
{
    namespace fs = std::filesystem;
    const std::string other = home.file("other");
    for (const char* dir : {"x", "y/again", "z"})
        fs::create_directories(other + "/" + dir);
    WriteFile(other + "/x/same.ico", IcoBytes(16, 1));
    WriteFile(other + "/y/same.ico", IcoBytes(16, 2));
    WriteFile(other + "/y/again/same.ico", IcoBytes(16, 1)); // the first again: there already
    WriteFile(other + "/z/empty.ico", Bytes {0, 0, 1, 0, 0, 0});
    WriteFile(other + "/x/tools.dll", SimpleFixture({Numbered(1)}, {{16, 4}}, false).bytes);
    WriteFile(other + "/y/tools.dll", SimpleFixture({Numbered(1)}, {{32, 4}}, false).bytes);
    // Group 1 holds no image, group 2 one.
    WriteFile(other + "/z/holes.dll",
              BuildPeFixture({DibIconImage(16, 4)}, {{Numbered(1), {}}, {Numbered(2), {1}}}, false).bytes);
    fs::create_directories(icons);
    WriteFile(icons + "/tools001.ico", Bytes {'k', 'e', 'e', 'p'}); // someone else's file

    IconSearchJob job = Job(true, true, false);
    job.folder = other;
    const Outcome out = Run(job);
    auto written = out.written; // two threads: any interleaving
    std::sort(written.begin(), written.end());
    EXPECT_EQ(written, In(icons, {"holes002.ico", "same.ico", "same_001.ico", "tools001_001.ico",
                                  "tools001_002.ico"}));
    EXPECT_EQ(FileBytes(icons + "/tools001.ico"), (Bytes {'k', 'e', 'e', 'p'}));
    EXPECT_FALSE(fs::exists(icons + "/empty.ico"));
    EXPECT_FALSE(fs::exists(icons + "/same_002.ico"));
    // Each copy holds its own icon.
    EXPECT_EQ(FileBytes(icons + "/same.ico"), IcoBytes(16, 1));
    EXPECT_EQ(FileBytes(icons + "/same_001.ico"), IcoBytes(16, 2));
    const auto first = ReadIconFromIcoFile(icons + "/tools001_001.ico");
    const auto second = ReadIconFromIcoFile(icons + "/tools001_002.ico");
    ASSERT_TRUE(first && second);
    EXPECT_NE(first->images[0].width, second->images[0].width);

    // Run again, nothing new: every icon is there already.
    EXPECT_TRUE(Run(job).written.empty());
}

TEST_F(IconSearchTree, ModulesGiveNumberedFilesInGroupOrder)
{
    const Outcome out = Run(Job(false, true, true));
    std::vector<std::string> expected;
    for (int i = 1; i <= 12; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "tools%03d.ico", i);
        expected.push_back(icons + "/" + name);
    }
    expected.push_back(icons + "/App001.ico");
    expected.push_back(icons + "/App002.ico");
    auto written = out.written; // two threads: any interleaving
    std::sort(written.begin(), written.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(written, expected);
    EXPECT_EQ(out.progress.size(), 2u);
    EXPECT_EQ(out.finished, 1);

    // tools001 is the first group in the directory (the named ALT), tools003 group 1.
    auto module = IconModule::Open(tree + "/sub/tools.dll");
    ASSERT_TRUE(module.has_value());
    for (const auto& [file, group] : {std::pair {"tools001.ico", Named(u"ALT")}, {"tools003.ico", Numbered(1)}}) {
        const auto saved = ReadIconFromIcoFile(icons + "/" + file);
        const auto source = module->ReadGroup(group);
        ASSERT_TRUE(saved && source);
        EXPECT_EQ(saved->images[1].data, source->images[1].data) << file; // the PNG, unchanged
    }
}

TEST_F(IconSearchTree, CountsAddUpOverSearchesAndATakenNameIsNotCounted)
{
    Outcome out;
    IconSearch search(Recorder(out));
    ASSERT_TRUE(search.Start(Job(true, false, false)));
    search.Wait();
    EXPECT_EQ(search.IconCount(), 6);
    WriteFile(tree + "/sub/new.ico", IcoBytes(16, 8));
    ASSERT_TRUE(search.Start(Job(true, false, false)));
    search.Wait();
    EXPECT_EQ(search.IconCount(), 7);
    EXPECT_EQ(out.written.back(), icons + "/new.ico");
    EXPECT_EQ(out.progress.back().second, 7);
    EXPECT_EQ(out.finished, 2);
}

TEST_F(IconSearchTree, StopEndsTheThreadsAfterTheirCurrentFileWithoutWaiting)
{
    Outcome out;
    IconSearch* self = nullptr;
    IconSearchCallbacks callbacks = Recorder(out);
    callbacks.fileWritten = [&](const std::string& path) {
        out.written.push_back(path);
        self->Stop(); // from a worker, under the lock
    };
    IconSearch search(callbacks);
    self = &search;
    ASSERT_TRUE(search.Start(Job(true, true, false)));
    search.Wait();
    EXPECT_EQ(search.IconCount(), int(out.written.size()));
    EXPECT_LE(out.written.size(), 2u); // one file each thread at most
    EXPECT_EQ(out.finished, 1);

    // Stop returns while a worker holds the lock; the worker then ends.
    std::promise<void> entered, release;
    auto released = release.get_future().share();
    bool first = true;
    IconSearchCallbacks blocking;
    blocking.progress = [&](const std::string&, int) {
        if (std::exchange(first, false)) {
            entered.set_value();
            released.wait();
        }
    };
    IconSearch held(blocking);
    ASSERT_TRUE(held.Start(Job(true, false, false)));
    entered.get_future().wait();
    held.Stop();
    EXPECT_TRUE(held.IsRunning());
    EXPECT_FALSE(held.Start(Job(true, false, false))); // one search at a time
    release.set_value();
    held.Wait();
    EXPECT_FALSE(held.IsRunning());
    EXPECT_LE(held.IconCount(), 1);
}

TEST_F(IconSearchTree, UnreadableFoldersAreSkippedSilently)
{
    std::filesystem::create_directories(tree + "/locked");
    WriteFile(tree + "/locked/hidden.ico", IcoBytes(16, 9));
    ASSERT_EQ(::chmod((tree + "/locked").c_str(), 0), 0);
    IconSearchJob job = Job(true, false, false);
    if (::geteuid() != 0) {
        const Outcome out = Run(job);
        EXPECT_EQ(out.written.size(), 6u);
        ::chmod((tree + "/locked").c_str(), 0700);
        return;
    }
    // Root reads every folder: search as nobody instead, in a child process.
    std::filesystem::create_directories(icons);
    for (const std::string& dir : {home.path(), tree, tree + "/sub", tree + "/x.dll", home.file("outside")})
        ::chmod(dir.c_str(), 0755);
    ::chmod(icons.c_str(), 0777);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (::setgid(65534) != 0 || ::setuid(65534) != 0)
            _exit(3);
        int count = 0;
        {
            IconSearch search({});
            search.Start(job);
            search.Wait();
            count = search.IconCount();
        }
        struct stat st {};
        _exit(count == 6 && ::stat((icons + "/hidden.ico").c_str(), &st) != 0 ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ::chmod((tree + "/locked").c_str(), 0700);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

TEST(FolderWalk, PseudoFileSystemsAreNeverEntered)
{
    for (const char* root : {"/proc", "/proc/self", "/sys", "/dev", "/dev/pts"}) {
        size_t visited = 0;
        FolderWalk walk {root, true, [](std::string_view) { return true; },
                         [&](const std::string&, const std::string&) { ++visited; }};
        WalkFolders(walk, {});
        EXPECT_EQ(visited, 0u) << root;
    }
    for (const char* type : {"proc", "sysfs", "devtmpfs", "devpts", "cgroup2", "debugfs"})
        EXPECT_TRUE(IsPseudoFileSystemType(type)) << type;
    for (const char* type : {"ext4", "tmpfs", "btrfs", "overlay", "nfs", "vfat"})
        EXPECT_FALSE(IsPseudoFileSystemType(type)) << type;
}

TEST(FolderWalk, RootsAndExtensions)
{
    EXPECT_EQ(SearchRootFromPath("C:"), "/");
    EXPECT_EQ(SearchRootFromPath("c:\\"), "/");
    EXPECT_EQ(SearchRootFromPath("C:/"), "/");
    EXPECT_EQ(SearchRootFromPath("C:\\Windows"), "C:\\Windows");
    EXPECT_EQ(SearchRootFromPath("/home/me"), "/home/me");
    EXPECT_TRUE(HasExtension("X.DLL", ".dll"));
    EXPECT_TRUE(HasExtension("a.Ico", ".ico"));
    EXPECT_FALSE(HasExtension("a.ico.txt", ".ico"));
    EXPECT_FALSE(HasExtension("ico", ".ico"));
}
