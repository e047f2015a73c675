#include "app/cli_commands.h"

#include "app/settings_commands.h"
#include "capture/still_capture.h"
#include "library/core/capture_lists.h"
#include "platform/posix/program_folder.h"
#include "settings/env.h"
#include "settings/folders.h"
#include "settings/settings_fields.h"

#include <iostream>

namespace vistrel {

namespace {

bool SaveSettings()
{
    std::string folder = GetProgramFolder();
    if (!IsFolder(folder))
        CreateFolderPath(folder);
    if (theEnv.Save())
        return true;
    std::cerr << "vistrel: cannot write " << CEnv::SettingsFilePath() << "\n";
    return false;
}

} // namespace

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
    std::cout << SettingsToJson(theEnv, g_strLanguageFile, g_languageFiles);
    return 0;
}

int SetSettingsHere(const CommandLine& commandLine)
{
    theEnv.Load();
    std::string error;
    if (int status = ApplySettingAssignments(commandLine.assignments, error); status != 0) {
        std::cerr << "vistrel: " << error << "\n";
        return status;
    }
    return SaveSettings() ? 0 : 1;
}

int CaptureHere(const CaptureRequest& request)
{
    theEnv.Load();
    StillCaptureResult result = RunStillCapture(request, theEnv, g_captureLists.bitmaps);
    // The number moved on; keep it, as the program does at exit.
    if (!result.path.empty())
        SaveSettings();
    if (result.status != 0) {
        std::cerr << "vistrel: " << result.error << "\n";
        return result.status;
    }
    std::cout << result.path << "\n";
    return 0;
}

} // namespace vistrel
