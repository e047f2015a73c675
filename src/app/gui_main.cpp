// The windowed program, started by the launcher (vistrel). A start while another
// copy runs hands over to it (which shows its window) and ends; a start while a
// command-line run holds the program folder waits for that run to end.

#include "app/capture_app.h"
#include "app/cli_commands.h"
#include "app/command_line.h"
#include "app/select_commands.h"
#include "base/instance_channel.h"
#include "base/instance_lock.h"
#include "base/program_folder.h"
#include "commands/command_ids.h"
#include "platform/x11/x11_connection.h"

#include <QApplication>

#include <cstdlib>
#include <cstring>
#include <iostream>

using namespace vistrel;

namespace {

// The toolkit aborts when it cannot reach the display; say why and fail instead.
bool DisplayReachable()
{
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    if (platform && *platform && std::strncmp(platform, "xcb", 3) != 0)
        return true; // another back end (offscreen, say) needs no X display
    x11::Connection conn;
    if (conn.ok())
        return true;
    std::cerr << "vistrel: cannot open the X display"
              << (std::getenv("DISPLAY") ? std::string(" \"") + std::getenv("DISPLAY") + "\"" : std::string())
              << ": " << conn.error() << "\n";
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    CommandLine cl;
    if (const auto status = BeginMain(argc, argv, cl))
        return *status;
    if (!cl.assignments.empty() || !cl.capture.empty())
        return RunCommand(cl);
    if (IsWindowRequest(cl))
        return RunWindowRequest(cl);

    InstanceLock lock(GetProgramFolder());
    ChannelReply reply;
    std::string error;
    switch (HandOverOrLock(lock, {std::to_string(ID_SHOW_MAIN_WINDOW)}, reply, error, SayWaitingForAnotherRun)) {
    case HandOver::Answered: return reply.status; // the running copy shows itself
    case HandOver::Failed: std::cerr << "vistrel: " << error << "\n"; return 1;
    case HandOver::LockAcquired: break;
    }
    if (!DisplayReachable())
        return 1;

    // Qt wants a private runtime folder and complains without one (as under su).
    if (!std::getenv("XDG_RUNTIME_DIR"))
        if (std::string runtime = RuntimeFolder(); !runtime.empty())
            setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    QApplication app(argc, argv);
    QApplication::setApplicationName("Vistrel");
    CCaptureApp captureApp(cl, std::move(lock));
    return captureApp.Run();
}
