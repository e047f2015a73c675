#include "app/icon_commands.h"

#include "app/cli_commands.h"
#include "icons/core/icon_module.h"
#include "icons/core/icon_naming.h"
#include "icons/core/icon_search.h"
#include "library/core/capture_lists.h"
#include "settings/env.h"
#include "settings/folders.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <iostream>
#include <pthread.h>
#include <unistd.h>

namespace vistrel {

namespace {

std::string ImageList(const IconResource& icon)
{
    std::string text;
    for (const IconImage& image : icon.images) {
        text += " " + std::to_string(image.width) + "x" + std::to_string(image.height) + "x" +
                std::to_string(image.colours);
        if (image.isPng)
            text += "(png)";
    }
    return text;
}

// Opens a module for the icon commands, saying why not on stderr. status is
// raised on failure: to 1 for a file that cannot be read, 2 for one that is no
// module.
std::optional<IconModule> OpenWithGroups(const std::string& path, std::vector<IconGroupName>& groups, int& status)
{
    bool unreadable = false;
    auto module = IconModule::Open(path, &unreadable);
    if (!module && unreadable) {
        std::cerr << "vistrel: cannot read " << path << ": " << std::strerror(errno) << "\n";
        status = std::max(status, 1);
        return std::nullopt;
    }
    if (!module) {
        std::cerr << NotLoadableMessage(path) << "\n";
        status = 2;
        return std::nullopt;
    }
    groups = module->Groups();
    if (groups.empty()) {
        std::cerr << NoIconMessage(path) << "\n";
        status = std::max(status, 1);
        return std::nullopt;
    }
    return module;
}

int ListIcons(const std::vector<std::string>& files)
{
    int status = 0;
    for (const std::string& path : files) {
        std::vector<IconGroupName> groups;
        auto module = OpenWithGroups(path, groups, status);
        if (!module)
            continue;
        std::string text = files.size() > 1 ? path + ":\n" : "";
        for (const IconGroupName& name : groups) {
            const auto icon = module->ReadGroup(name);
            text += GroupLabel(name) + ":" + (icon ? ImageList(*icon) : " unreadable") + "\n";
            if (!icon)
                status = std::max(status, 1);
        }
        if (!PrintToStdout(text))
            return std::max(status, 1);
    }
    return status;
}

int SaveAllIcons(const std::vector<std::string>& files, const std::string& folder)
{
    if (!IsFolder(folder)) {
        std::cerr << "vistrel: no folder " << folder << "\n";
        return 2;
    }
    int status = 0;
    bool printed = true;
    SaveAllNames names(folder);
    for (const std::string& path : files) {
        std::vector<IconGroupName> groups;
        auto module = OpenWithGroups(path, groups, status);
        if (!module)
            continue;
        for (const IconGroupName& name : groups) {
            const std::string label = GroupLabel(name);
            const std::string file = names.Next(path, label);
            const auto icon = module->ReadGroup(name);
            if (!icon) {
                std::cerr << "vistrel: " << path << ": " << label << " cannot be read\n";
                status = std::max(status, 1);
                continue;
            }
            switch (WriteIconToIcoFile(*icon, file)) {
            case IconWriteResult::Written:
                printed = printed && PrintToStdout(file + "\n"); // said once on stderr
                status = std::max(status, printed ? 0 : 1);
                break;
            case IconWriteResult::Exists:
                std::cerr << "vistrel: " << file << " exists, not written\n";
                status = std::max(status, 1);
                break;
            case IconWriteResult::Failed:
                std::cerr << "vistrel: cannot write " << file << "\n";
                status = std::max(status, 1);
                break;
            }
        }
    }
    return status;
}

int SearchIcons(const CommandLine& cl)
{
    const std::string root = SearchRootFromPath(cl.iconSearch);
    if (!IsFolder(root)) {
        std::cerr << "vistrel: no folder " << cl.iconSearch << "\n";
        return 2;
    }
    theEnv.Load();
    // Ctrl+C or a termination ends the search between files, so no file is left
    // half written; the end of the search arrives the same way.
    sigset_t signals;
    sigemptyset(&signals);
    for (int s : {SIGINT, SIGTERM, SIGHUP, SIGUSR1})
        sigaddset(&signals, s);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
    bool printed = true; // callbacks come one at a time, under the search's lock
    IconSearchCallbacks callbacks;
    callbacks.fileWritten = [&printed](const std::string& path) {
        g_captureLists.icons.push_back(path);
        printed = printed && PrintToStdout(path + "\n"); // said once on stderr
    };
    callbacks.finished = [] { ::kill(::getpid(), SIGUSR1); };
    IconSearch search(callbacks);
    IconSearchJob job;
    job.folder = root;
    job.subFolders = !cl.noSubFolders;
    job.ico = cl.searchIco;
    job.dll = cl.searchDll;
    job.exe = cl.searchExe;
    job.targetFolder = theEnv.m_strIconPath;
    search.Start(job);
    int signal = 0, stoppedBy = 0;
    while (search.IsRunning() && sigwait(&signals, &signal) == 0 && signal != SIGUSR1) {
        stoppedBy = signal;
        search.Stop();
    }
    search.Wait();
    printed = printed && PrintToStdout("Icon Files: " + std::to_string(search.IconCount()) + "\n");
    if (stoppedBy != 0)
        return 128 + stoppedBy;
    return printed ? 0 : 1;
}

} // namespace

bool IsIconCommand(const CommandLine& commandLine)
{
    return !commandLine.iconFiles.empty() || !commandLine.iconSearch.empty();
}

int RunIconCommand(const CommandLine& cl)
{
    if (!cl.iconSearch.empty())
        return SearchIcons(cl);
    return cl.iconSaveAll.empty() ? ListIcons(cl.iconFiles) : SaveAllIcons(cl.iconFiles, cl.iconSaveAll);
}

} // namespace vistrel
