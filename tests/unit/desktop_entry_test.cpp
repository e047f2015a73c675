#include "base/child_process.h"
#include "base/desktop_entry.h"
#include "desktop/core/open_outcome.h"
#include "file_text.h"
#include "settings/default_tools.h"
#include "temp_home.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <sys/wait.h>
#include <thread>

using namespace vistrel;

namespace {

using Words = std::vector<std::string>;

std::optional<Words> SplitTexts(std::string_view exec)
{
    const auto words = SplitExecLine(exec);
    if (!words)
        return std::nullopt;
    Words texts;
    for (const ExecWord& word : *words)
        texts.push_back(word.text);
    return texts;
}

std::vector<ExecWord> Plain(const Words& texts)
{
    std::vector<ExecWord> words;
    for (const std::string& text : texts)
        words.push_back({text, false});
    return words;
}

// Sets an environment variable for one test and puts the old value back.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::string& value) : m_name(name)
    {
        if (const char* old = std::getenv(name))
            m_old = old;
        setenv(name, value.c_str(), 1);
    }
    ~ScopedEnv()
    {
        if (m_old)
            setenv(m_name, m_old->c_str(), 1);
        else
            unsetenv(m_name);
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    const char* m_name;
    std::optional<std::string> m_old;
};

void WriteScript(const std::string& path, const std::string& body)
{
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    test::WriteText(path, "#!/bin/sh\n" + body);
    std::filesystem::permissions(path, std::filesystem::perms::owner_all);
}

} // namespace

TEST(DesktopEntry, NameAndExecComeFromTheDesktopEntryGroup)
{
    const auto entry = ParseDesktopEntry("# comment\n[Desktop Entry]\nType=Application\nName[de]=Bildbetrachter\n"
                                         "Name = Image Viewer\nExec=eog\\s--new %U\n[Desktop Action New]\n"
                                         "Name=New Window\nExec=eog --other\n");
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->name, "Image Viewer");
    EXPECT_EQ(entry->exec, "eog --new %U");
    // A group before it, a commented key, a line ending in CR, and the Exec
    // quoting's backslash kept for the split.
    const auto web = ParseDesktopEntry("[Desktop Action new]\nExec=wrong --new\n\n[Desktop Entry]\nName=Web\n"
                                       "# Exec=commented\nExec = firefox\\s-P\\\\x \"\\$u\" \r\n[Other]\nExec=other\n");
    ASSERT_TRUE(web);
    EXPECT_EQ(web->exec, "firefox -P\\x \"\\$u\"");
}

TEST(DesktopEntry, HiddenLinksAndIncompleteEntriesAreRefused)
{
    EXPECT_FALSE(ParseDesktopEntry("[Desktop Entry]\nName=A\nExec=a\nHidden=true\n"));
    EXPECT_FALSE(ParseDesktopEntry("[Desktop Entry]\nName=A\nType=Link\nExec=a\n"));
    EXPECT_FALSE(ParseDesktopEntry("[Desktop Entry]\nName=A\n"));
    EXPECT_FALSE(ParseDesktopEntry("[Other]\nName=A\nExec=a\n"));
    EXPECT_FALSE(ParseDesktopEntry(""));
}

TEST(ExecLine, QuotedWordsKeepTheirBlanksAndEscapes)
{
    EXPECT_EQ(SplitTexts("\"/opt/My Editor/edit\"  --x %F"), (Words {"/opt/My Editor/edit", "--x", "%F"}));
    EXPECT_EQ(SplitTexts("a \"say \\\"hi\\\" \\$HOME \\\\ \\`x\\`\""), (Words {"a", "say \"hi\" $HOME \\ `x`"}));
    EXPECT_EQ(SplitTexts("pre\"mid dle\"post"), (Words {"premid dlepost"}));
    EXPECT_EQ(SplitTexts("a \"\" b"), (Words {"a", "", "b"}));
    EXPECT_FALSE(SplitExecLine("a \"open"));
    EXPECT_FALSE(SplitExecLine("   "));
    EXPECT_FALSE(SplitExecLine(""));
}

TEST(ExecLine, AWordAllInQuotesIsMarkedQuoted)
{
    EXPECT_EQ(SplitExecLine("b \"%u\" %U x\"%u\" \"a\"\"b\""),
              (std::vector<ExecWord> {{"b", false}, {"%u", true}, {"%U", false}, {"x%u", false}, {"ab", true}}));
}

TEST(ExecLine, FieldCodesTakeTheFileOnce)
{
    const std::string file = "/home/u/My Pictures/shot 1.png";
    EXPECT_EQ(FillExecFields(Plain({"gimp", "%U"}), file), (Words {"gimp", file}));
    EXPECT_EQ(FillExecFields(Plain({"viewer", "--file=%f", "%F"}), file), (Words {"viewer", "--file=" + file}));
    EXPECT_EQ(FillExecFields(Plain({"app", "%i", "%c", "-x", "100%%"}), file), (Words {"app", "-x", "100%", file}));
    EXPECT_EQ(FillExecFields(Plain({"app"}), file), (Words {"app", file}));
}

TEST(ToolCommand, AProgramPathWithBlanksIsOneProgram)
{
    test::TempHome home;
    const std::string program = home.file("my tools/edit it");
    WriteScript(program, "exit 0\n");
    EXPECT_EQ(ToolArguments(program, "/a b.png"), (Words {program, "/a b.png"}));
    // An Exec line with its field code, and a plain program name.
    EXPECT_EQ(ToolArguments("gimp-2.10 %U", "/a b.png"), (Words {"gimp-2.10", "/a b.png"}));
    EXPECT_EQ(ToolArguments("xdg-open", "/a b.png"), (Words {"xdg-open", "/a b.png"}));
    // A path that is not a program is read as a line, and one open quote refuses it.
    EXPECT_EQ(ToolArguments(home.file("my tools/missing"), "/f"),
              (Words {home.file("my"), "tools/missing", "/f"}));
    EXPECT_FALSE(ToolArguments("\"unclosed", "/f"));
    EXPECT_FALSE(ToolArguments("", "/f"));
}

TEST(DesktopFiles, PathsSearchedInOrder)
{
    EXPECT_EQ(DesktopEntryPaths("kde4-kate.desktop", "/h", "/a::/b"),
              (Words {"/h/applications/kde4-kate.desktop", "/h/applications/kde4/kate.desktop",
                      "/a/applications/kde4-kate.desktop", "/a/applications/kde4/kate.desktop",
                      "/b/applications/kde4-kate.desktop", "/b/applications/kde4/kate.desktop"}));
    EXPECT_EQ(DesktopEntryPaths("x.desktop", "", ""),
              (Words {"/usr/local/share/applications/x.desktop", "/usr/share/applications/x.desktop"}));
    EXPECT_TRUE(DesktopEntryPaths("../x.desktop", "/h", "").empty());
    EXPECT_TRUE(DesktopEntryPaths("a/x.desktop", "/h", "").empty());
    EXPECT_TRUE(DesktopEntryPaths(".desktop", "/h", "").empty());
    EXPECT_TRUE(DesktopEntryPaths("x", "/h", "").empty());
    EXPECT_TRUE(DesktopEntryPaths("", "/h", "").empty());
}

TEST(DesktopFiles, FoundInDataHomeFirstThenInTheDataDirs)
{
    test::TempHome home;
    ScopedEnv dataHome("XDG_DATA_HOME", home.file("local"));
    ScopedEnv dataDirs("XDG_DATA_DIRS", home.file("one") + ":" + home.file("two"));
    std::filesystem::create_directories(home.file("two/applications/kde"));
    test::WriteText(home.file("two/applications/viewer.desktop"), "x");
    test::WriteText(home.file("two/applications/kde/paint.desktop"), "x");
    EXPECT_EQ(FindDesktopFile("viewer.desktop"), home.file("two/applications/viewer.desktop"));
    EXPECT_EQ(FindDesktopFile("kde-paint.desktop"), home.file("two/applications/kde/paint.desktop"));
    std::filesystem::create_directories(home.file("local/applications"));
    test::WriteText(home.file("local/applications/viewer.desktop"), "x");
    EXPECT_EQ(FindDesktopFile("viewer.desktop"), home.file("local/applications/viewer.desktop"));
    EXPECT_EQ(FindDesktopFile("none.desktop"), "");
    EXPECT_EQ(FindDesktopFile("../two/applications/viewer.desktop"), "");
    EXPECT_EQ(FindDesktopFile("viewer"), "");
}

TEST(DesktopFiles, AnEntryIsLoadedByItsId)
{
    test::TempHome home;
    ScopedEnv dataHome("XDG_DATA_HOME", home.file("local"));
    ScopedEnv dataDirs("XDG_DATA_DIRS", home.file("share"));
    std::filesystem::create_directories(home.file("share/applications/kde4"));
    test::WriteText(home.file("share/applications/kde4/kate.desktop"), "[Desktop Entry]\nName=Kate\nExec=kate %U\n");
    const auto entry = LoadDesktopEntry("kde4-kate.desktop");
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->exec, "kate %U");
    // The first file found is the one meant, usable or not.
    std::filesystem::create_directories(home.file("local/applications"));
    test::WriteText(home.file("local/applications/kde4-kate.desktop"), "[Desktop Entry]\nName=Kate\nHidden=true\n");
    EXPECT_FALSE(LoadDesktopEntry("kde4-kate.desktop"));
    // An oversized file is refused, not read whole.
    test::WriteText(home.file("local/applications/big.desktop"),
                    "[Desktop Entry]\nName=Big\nExec=big\n" + std::string(300 * 1024, '#'));
    EXPECT_FALSE(LoadDesktopEntry("big.desktop"));
}

TEST(DefaultTools, TakenFromTheDesktopsDefaultApplications)
{
    test::TempHome home;
    ScopedEnv dataHome("XDG_DATA_HOME", home.file("local"));
    ScopedEnv dataDirs("XDG_DATA_DIRS", home.file("share"));
    ScopedEnv path("PATH", home.file("bin") + ":/usr/bin:/bin");
    // xdg-mime answers for PNG only.
    WriteScript(home.file("bin/xdg-mime"),
                "[ \"$1 $2 $3\" = \"query default image/png\" ] && echo paint.desktop && exit 0\nexit 4\n");
    std::filesystem::create_directories(home.file("share/applications"));
    test::WriteText(home.file("share/applications/paint.desktop"),
                    "[Desktop Entry]\nType=Application\nName=Paint Program\nExec=\"/opt/paint it/paint\" %f\n");
    EXPECT_EQ(DefaultImageEditor(), (ToolEntry {"Paint Program", "\"/opt/paint it/paint\" %f", 1}));
    EXPECT_EQ(DefaultVideoPlayer(), (ToolEntry {"Default video player", "xdg-open", 1}));
    EXPECT_EQ(ToolArguments(DefaultImageEditor().command, "/x y.png"), (Words {"/opt/paint it/paint", "/x y.png"}));
}

TEST(DefaultTools, WithoutXdgMimeTheOpenerIsOffered)
{
    test::TempHome home;
    ScopedEnv path("PATH", home.file("nothing"));
    EXPECT_EQ(DefaultImageEditor(), (ToolEntry {"Default image viewer", "xdg-open", 1}));
}

TEST(ChildProcess, OutputAndExitStatusComeBack)
{
    const ChildOutcome done = RunProgram({"sh", "-c", "printf 'a b\\n'; echo err >&2; exit 3"});
    EXPECT_TRUE(done.started);
    EXPECT_TRUE(done.finished);
    EXPECT_EQ(done.exitCode, 3);
    EXPECT_EQ(done.output, "a b\n");
    EXPECT_FALSE(done.succeeded());
    EXPECT_TRUE(RunProgram({"sh", "-c", "exit 0"}).succeeded());
}

TEST(ChildProcess, AMissingProgramIsNotStarted)
{
    EXPECT_FALSE(RunProgram({"/nonexistent/program"}).started);
    EXPECT_FALSE(RunProgram({"vistrel-no-such-program-anywhere"}).started);
    EXPECT_FALSE(RunProgram({}).started);
}

TEST(ChildProcess, OneThatOverrunsItsTimeIsEnded)
{
    const auto start = std::chrono::steady_clock::now();
    const ChildOutcome slow = RunProgram({"sleep", "10"}, 200);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
    EXPECT_TRUE(slow.started);
    EXPECT_FALSE(slow.finished);
}

TEST(ChildProcess, ProgramsAreFoundOnThePath)
{
    test::TempHome home;
    WriteScript(home.file("bin/tool"), "exit 0\n");
    test::WriteText(home.file("bin/plain"), "not a program");
    ScopedEnv path("PATH", home.file("none") + "::" + home.file("bin"));
    EXPECT_EQ(FindProgram("tool"), home.file("bin/tool"));
    EXPECT_EQ(FindProgram(home.file("bin/tool")), home.file("bin/tool"));
    EXPECT_EQ(FindProgram("plain"), "");
    EXPECT_EQ(FindProgram(home.file("bin")), "");
    EXPECT_EQ(FindProgram(""), "");
}

TEST(ChildProcess, ADetachedProgramRunsAndIsNotLeftToReap)
{
    test::TempHome home;
    const std::string mark = home.file("started");
    WriteScript(home.file("bin/mark"), "printf '%s|%s' \"$1\" \"$2\" > \"$3\"\n");
    ScopedEnv path("PATH", home.file("bin") + ":/usr/bin:/bin");
    ASSERT_EQ(StartDetached({"mark", "a b", "$HOME;x", mark}), DetachedStart::Started);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (test::ReadText(mark).empty() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(test::ReadText(mark), "a b|$HOME;x");
    int status = 0;
    EXPECT_EQ(waitpid(-1, &status, WNOHANG), -1); // no child of ours: nothing to reap
    EXPECT_EQ(errno, ECHILD);
}

// A player or editor named by a desktop entry's Exec line gets the file where
// its field code stands, whole, blanks and all.
TEST(ChildProcess, AToolGivenAsAnExecLineGetsTheFileAsOneArgument)
{
    test::TempHome home;
    const std::string file = home.file("My Captures/Video 1.avi");
    WriteScript(home.file("bin/player"), "printf '%s|%s' \"$1\" \"$2\" > \"$VISTREL_HOME/played\"\n");
    ScopedEnv path("PATH", home.file("bin") + ":/usr/bin:/bin");
    ASSERT_TRUE(StartToolOn("player --fullscreen %f", file));
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (test::ReadText(home.file("played")).empty() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(test::ReadText(home.file("played")), "--fullscreen|" + file);
    EXPECT_FALSE(StartToolOn("vistrel-no-such-player %f", file));
    EXPECT_FALSE(StartToolOn("", file));
}

TEST(ChildProcess, ADetachedStartThatCannotHappenIsReported)
{
    test::TempHome home;
    EXPECT_EQ(StartDetached({"vistrel-no-such-program-anywhere"}), DetachedStart::NotFound);
    EXPECT_EQ(StartDetached({}), DetachedStart::NotFound);
    // Executable, but no program the system can run (and no shell tries it).
    test::WriteText(home.file("garbage"), "echo not a program\n");
    std::filesystem::permissions(home.file("garbage"), std::filesystem::perms::owner_all);
    EXPECT_EQ(StartDetached({home.file("garbage")}), DetachedStart::Failed);
}

TEST(OpenOutcome, TheFailureCodesOfAFileToOpen)
{
    test::TempHome home;
    test::WriteText(home.file("a.png"), "x");
    EXPECT_EQ(CheckFileToOpen(home.file("a.png")), 0);
    EXPECT_EQ(CheckFileToOpen(home.file("b.png")), 2);
    EXPECT_EQ(CheckFileToOpen(home.file("gone/b.png")), 3);
    EXPECT_EQ(OpenerOutcome(false), 31);
    EXPECT_GT(OpenerOutcome(true), 32);
}
