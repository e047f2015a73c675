// vistrel-cli: the commands that need no window (--help, --print-settings,
// --set, --capture and --timer, the last three handed to the running copy when
// there is one, the icon commands, the picture commands and --wallpaper),
// carried out without the toolkit so scripted captures start in a few
// milliseconds; --select and --record-dialog go to the window, started for them
// when none runs. --record and --list-codecs become vistrel-record beside it.
// Started without a command, it becomes vistrel-gui beside it, with the same
// arguments.

#include "app/cli_commands.h"
#include "app/command_line.h"
#include "app/icon_commands.h"
#include "app/picture_commands.h"
#include "app/select_commands.h"
#include "app/timer_commands.h"
#include "app/wallpaper_command.h"
#include "base/program_folder.h"

#include <cerrno>
#include <cstring>
#include <iostream>
#include <unistd.h>

using namespace vistrel;

namespace {

int ContinueIn(const char* half, char** argv)
{
    std::string path = ExecutableFolder() + "/" + half;
    execv(path.c_str(), argv);
    std::cerr << "vistrel: cannot start " << path << ": " << std::strerror(errno) << "\n";
    return 1;
}

} // namespace

int main(int argc, char** argv)
{
    CommandLine cl;
    if (const auto status = BeginMain(argc, argv, cl))
        return *status;
    if (IsPictureCommand(cl))
        return RunPictureCommand(cl);
    if (!cl.wallpaper.empty())
        return RunWallpaperCommand(cl);
    if (IsIconCommand(cl))
        return RunIconCommand(cl);
    if (IsTimerCommand(cl))
        return RunTimerCommand(cl);
    if (IsWindowRequest(cl))
        return RunWindowRequest(cl);
    if (IsRecordCommand(cl)) // the only commands that load FFmpeg
        return ContinueIn("vistrel-record", argv);
    if (!cl.capture.empty()) {
        // Refused before anything else, so a bad request waits for nobody.
        std::string error;
        if (!ParseCaptureRequest(cl.capture, !cl.noCursor, error)) {
            std::cerr << "vistrel: " << error << "\n";
            return 2;
        }
    }
    if (!cl.assignments.empty() || !cl.capture.empty())
        return RunCommand(cl);
    return ContinueIn("vistrel-gui", argv);
}
