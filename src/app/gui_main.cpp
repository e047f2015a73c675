// The windowed program, started by the launcher (vistrel). Also hands --set and
// --capture to a running copy over the instance channel.

#include "app/capture_app.h"
#include "app/cli_commands.h"
#include "app/command_line.h"
#include "platform/posix/instance_lock.h"
#include "platform/posix/program_folder.h"
#include "platform/qt/instance_channel.h"
#include "settings/env.h"

#include <QApplication>
#include <QCoreApplication>

#include <cstdlib>
#include <iostream>

using namespace vistrel;

namespace {

// Generous: a capture by the running copy may wait for its screen to repaint.
constexpr int kRequestTimeoutMs = 30000;

QStringList RequestWords(const CommandLine& cl)
{
    QStringList words;
    if (!cl.assignments.empty()) {
        words << "--set";
        for (const auto& a : cl.assignments)
            words << QString::fromStdString(a);
        return words;
    }
    words << "--capture";
    for (const auto& word : cl.capture)
        words << QString::fromStdString(word);
    if (cl.noCursor)
        words << "--no-cursor";
    return words;
}

int CommandHere(const CommandLine& cl)
{
    if (!cl.assignments.empty())
        return SetSettingsHere(cl);
    std::string error;
    auto request = ParseCaptureRequest(cl.capture, !cl.noCursor, error);
    if (!request) {
        std::cerr << "vistrel: " << error << "\n";
        return 2;
    }
    return CaptureHere(*request);
}

int CommandForRunningCopy(int argc, char** argv, const CommandLine& cl)
{
    InstanceLock lock(GetProgramFolder());
    if (lock.TryAcquire() != InstanceLock::State::HeldByAnother)
        return CommandHere(cl); // the holder ended in the meantime
    QCoreApplication app(argc, argv);
    ChannelReply reply;
    HandOver outcome = SendToRunningCopy(
        QString::fromStdString(lock.socketPath()), RequestWords(cl), kRequestTimeoutMs,
        [&lock] { return lock.TryAcquire() == InstanceLock::State::Acquired; }, reply);
    if (outcome == HandOver::LockTaken)
        return CommandHere(cl); // the holder was another command, now done
    if (outcome == HandOver::NoAnswer) {
        std::cerr << "vistrel: a running copy holds the settings but does not answer\n";
        return 1;
    }
    std::cout << reply.output.toStdString();
    if (!reply.error.isEmpty())
        std::cerr << "vistrel: " << reply.error.toStdString() << "\n";
    return reply.status;
}

} // namespace

int main(int argc, char** argv)
{
    auto cl = TakeCommandLine(argc, argv);
    if (!cl)
        return 2;
    if (!cl->assignments.empty() || !cl->capture.empty())
        return CommandForRunningCopy(argc, argv, *cl);

    // Qt wants a private runtime folder and complains without one (as under su).
    if (!std::getenv("XDG_RUNTIME_DIR"))
        if (std::string runtime = RuntimeFolder(); !runtime.empty())
            setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    QApplication app(argc, argv);
    QApplication::setApplicationName("Vistrel");
    CCaptureApp captureApp(*cl);
    return captureApp.Run();
}
