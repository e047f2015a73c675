// The launcher. Commands that need no window (--help, --print-settings, and
// --set and --capture while no copy runs) are carried out here, without the
// toolkit, so scripted captures start in a few milliseconds. Everything else
// (the program itself, and commands for a running copy) goes on in vistrel-gui
// beside this file, which gets the same arguments.

#include "app/cli_commands.h"
#include "app/command_line.h"
#include "app/icon_commands.h"
#include "platform/posix/instance_lock.h"
#include "platform/posix/program_folder.h"

#include <cerrno>
#include <cstring>
#include <iostream>
#include <unistd.h>

using namespace vistrel;

namespace {

int ContinueInGui(char** argv)
{
    std::string gui = ExecutableFolder() + "/vistrel-gui";
    execv(gui.c_str(), argv);
    std::cerr << "vistrel: cannot start " << gui << ": " << std::strerror(errno) << "\n";
    return 1;
}

} // namespace

int main(int argc, char** argv)
{
    auto cl = TakeCommandLine(argc, argv);
    if (!cl)
        return 2;
    if (cl->help) {
        std::cout << kUsageText;
        return 0;
    }
    if (cl->printSettings)
        return PrintSettings();
    if (IsIconCommand(*cl))
        return RunIconCommand(*cl);

    std::optional<CaptureRequest> capture;
    if (!cl->capture.empty()) {
        std::string error;
        capture = ParseCaptureRequest(cl->capture, !cl->noCursor, error);
        if (!capture) {
            std::cerr << "vistrel: " << error << "\n";
            return 2;
        }
    }
    if (cl->assignments.empty() && !capture)
        return ContinueInGui(argv);

    InstanceLock lock(GetProgramFolder());
    if (lock.TryAcquire() == InstanceLock::State::HeldByAnother)
        return ContinueInGui(argv); // the running copy carries it out
    return capture ? CaptureHere(*capture) : SetSettingsHere(*cl);
}
