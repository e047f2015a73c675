// Entry point. Commands that need no window (--print-settings, --set,
// --capture) run without starting the toolkit's application object, so they are
// quick; with a copy of the program already running, --set and --capture are
// handed to it, so its settings and lists stay the ones that count.

#include "app/capture_app.h"
#include "app/command_line.h"
#include "app/settings_commands.h"
#include "capture/still_capture.h"
#include "library/core/capture_lists.h"
#include "platform/posix/instance_lock.h"
#include "platform/posix/program_folder.h"
#include "platform/qt/instance_channel.h"
#include "settings/env.h"
#include "settings/folders.h"
#include "settings/settings_fields.h"

#include <QApplication>
#include <QCoreApplication>

#include <cstdio>
#include <cstdlib>
#include <iostream>

using namespace vistrel;

namespace {

int HandToRunningCopy(int argc, char** argv, const std::string& socketPath, const QStringList& request)
{
    QCoreApplication app(argc, argv);
    auto reply = SendToRunningCopy(QString::fromStdString(socketPath), request, 30000);
    if (!reply) {
        std::cerr << "vistrel: a running copy holds the settings but does not answer\n";
        return 1;
    }
    std::cout << reply->output.toStdString();
    if (!reply->error.isEmpty())
        std::cerr << "vistrel: " << reply->error.toStdString() << "\n";
    return reply->status;
}

int Capture(int argc, char** argv, const CommandLine& cl)
{
    std::string error;
    auto request = ParseCaptureRequest(cl.capture, !cl.noCursor, error);
    if (!request) {
        std::cerr << "vistrel: " << error << "\n";
        return 2;
    }
    InstanceLock lock(GetProgramFolder());
    if (lock.TryAcquire() == InstanceLock::State::HeldByAnother)
        return HandToRunningCopy(argc, argv, lock.socketPath(), CaptureRequestWords(cl));
    theEnv.Load();
    StillCaptureResult result = RunStillCapture(*request, theEnv, g_captureLists.bitmaps);
    if (!result.path.empty()) {
        // The number moved on; keep it, as the program does at exit.
        theEnv.Save();
    }
    if (result.status != 0) {
        std::cerr << "vistrel: " << result.error << "\n";
        return result.status;
    }
    std::cout << result.path << "\n";
    return 0;
}

int SetSettings(int argc, char** argv, const CommandLine& cl)
{
    InstanceLock lock(GetProgramFolder());
    if (lock.TryAcquire() == InstanceLock::State::HeldByAnother) {
        QStringList request = {"--set"};
        for (const auto& a : cl.assignments)
            request << QString::fromStdString(a);
        return HandToRunningCopy(argc, argv, lock.socketPath(), request);
    }
    theEnv.Load();
    std::string error;
    if (int status = ApplySettingAssignments(cl.assignments, error); status != 0) {
        std::cerr << "vistrel: " << error << "\n";
        return status;
    }
    std::string folder = GetProgramFolder();
    if (!IsFolder(folder))
        CreateFolderPath(folder);
    if (!theEnv.Save()) {
        std::cerr << "vistrel: cannot write " << CEnv::SettingsFilePath() << "\n";
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    std::string error;
    auto cl = ParseCommandLine(args, error);
    if (!cl) {
        std::cerr << "vistrel: " << error << "\n";
        return 2;
    }
    if (cl->help) {
        std::cout << kUsageText;
        return 0;
    }
    if (!cl->home.empty()) {
        SetProgramFolderOverride(cl->home);
        theEnv = CEnv(); // the defaults hang from the program folder
    }
    if (cl->printSettings) {
        theEnv.Load();
        std::cout << SettingsToJson(theEnv, g_strLanguageFile, g_languageFiles);
        return 0;
    }
    if (!cl->assignments.empty())
        return SetSettings(argc, argv, *cl);
    if (!cl->capture.empty())
        return Capture(argc, argv, *cl);

    // Qt wants a private runtime folder and complains without one (as under su).
    if (!std::getenv("XDG_RUNTIME_DIR"))
        if (std::string runtime = RuntimeFolder(); !runtime.empty())
            setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    QApplication app(argc, argv);
    QApplication::setApplicationName("Vistrel");
    CCaptureApp captureApp(*cl);
    return captureApp.Run();
}
