#include "app/cli_commands.h"

#include "app/settings_commands.h"
#include "app/usage.h"
#include "base/instance_lock.h"
#include "base/program_folder.h"
#include "capture/grab/still_capture.h"
#include "i18n/language_files.h"
#include "library/core/capture_lists.h"
#include "settings/env.h"
#include "settings/folders.h"
#include "settings/settings_fields.h"

#include <cstdio>
#include <iostream>
#include <sys/signalfd.h>

namespace vistrel {

namespace {

int SetSettingsHere(const CommandLine& commandLine)
{
    theEnv.Load();
    std::string error;
    if (int status = ApplySettingAssignments(commandLine.assignments, error); status != 0) {
        std::cerr << "vistrel: " << error << "\n";
        return status;
    }
    if (theEnv.Save())
        return 0;
    std::cerr << "vistrel: cannot write " << CEnv::SettingsFilePath() << "\n";
    return 1;
}

int CaptureHere(const CaptureRequest& request)
{
    theEnv.Load();
    // The stored number is on disk before the path is printed: SaveCapture
    // stores it as soon as it moves.
    StillCaptureResult result = RunStillCapture(request, theEnv, g_captureLists.bitmaps);
    if (!result.error.empty())
        std::cerr << "vistrel: " << result.error << "\n";
    if (!result.path.empty() && !PrintToStdout(result.path + "\n"))
        return 1;
    return result.status;
}

int CommandHere(const CommandLine& commandLine)
{
    if (!commandLine.assignments.empty())
        return SetSettingsHere(commandLine);
    std::string error;
    auto request = ParseCaptureRequest(commandLine.capture, !commandLine.noCursor, error);
    if (!request) {
        std::cerr << "vistrel: " << error << "\n";
        return 2;
    }
    return CaptureHere(*request);
}

} // namespace

void SayWaitingForAnotherRun()
{
    std::cerr << "vistrel: waiting for the capture in progress or another run of Vistrel with this program folder to end\n";
}

sigset_t EndSignals()
{
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    sigaddset(&set, SIGHUP);
    return set;
}

UniqueFd TakeEndSignals()
{
    const sigset_t endSignals = EndSignals();
    sigset_t before;
    pthread_sigmask(SIG_BLOCK, &endSignals, &before);
    UniqueFd ended(signalfd(-1, &endSignals, SFD_CLOEXEC | SFD_NONBLOCK));
    if (!ended) // nothing would watch them
        pthread_sigmask(SIG_SETMASK, &before, nullptr);
    return ended;
}

bool PrintToStdout(const std::string& text)
{
    std::cout << text << std::flush;
    if (std::cout && std::fflush(stdout) == 0 && !std::ferror(stdout))
        return true;
    std::cerr << "vistrel: cannot write to standard output\n";
    return false;
}

std::optional<CommandLine> TakeCommandLine(int argc, char** argv)
{
    std::string error;
    auto cl = ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc), error);
    if (!cl) {
        std::cerr << "vistrel: " << error << "\n";
        return std::nullopt;
    }
    if (!cl->home.empty()) {
        SetProgramFolderOverride(cl->home);
        theEnv = CEnv();
    }
    return cl;
}

int PrintSettings()
{
    theEnv.Load(false);
    CollectLanguageFiles();
    return PrintToStdout(SettingsToJson(theEnv, g_strLanguageFile, g_languageFiles)) ? 0 : 1;
}

std::optional<int> BeginMain(int argc, char** argv, CommandLine& commandLine)
{
    auto cl = TakeCommandLine(argc, argv);
    if (!cl)
        return 2;
    if (cl->help)
        return PrintToStdout(UsageText()) ? 0 : 1;
    if (cl->version)
        return PrintToStdout("vistrel " VISTREL_VERSION "\n") ? 0 : 1;
    if (cl->printMan)
        return PrintToStdout(ManualPage(VISTREL_VERSION)) ? 0 : 1;
    if (cl->printSettings)
        return PrintSettings();
    commandLine = std::move(*cl);
    return std::nullopt;
}

ChannelRequest CommandRequest(const CommandLine& cl)
{
    ChannelRequest words;
    if (!cl.assignments.empty()) {
        words.push_back("--set");
        words.insert(words.end(), cl.assignments.begin(), cl.assignments.end());
        return words;
    }
    words.push_back("--capture");
    words.insert(words.end(), cl.capture.begin(), cl.capture.end());
    if (cl.noCursor)
        words.push_back("--no-cursor");
    return words;
}

int RunCommand(const CommandLine& commandLine)
{
    EnsureFolder(GetProgramFolder()); // --home may name a folder not made yet
    InstanceLock lock(GetProgramFolder());
    ChannelReply reply;
    std::string error;
    const HandOver outcome = HandOverOrLock(lock, CommandRequest(commandLine), reply, error, SayWaitingForAnotherRun);
    switch (outcome) {
    case HandOver::LockAcquired: return CommandHere(commandLine);
    case HandOver::Failed: std::cerr << "vistrel: " << error << "\n"; return 1;
    case HandOver::Answered: break;
    }
    return ReportReply(reply);
}

int ReportReply(const ChannelReply& reply)
{
    if (!reply.error.empty())
        std::cerr << "vistrel: " << reply.error << "\n";
    if (!reply.output.empty() && !PrintToStdout(reply.output))
        return 1;
    return reply.status;
}

} // namespace vistrel
