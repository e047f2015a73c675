#include "icons/core/icon_search.h"

#include "icons/core/folder_walk.h"
#include "icons/core/icon_module.h"
#include "icons/core/icon_naming.h"
#include "icons/core/icon_resource.h"
#include "settings/folders.h"

#include <exception>
#include <system_error>

namespace vistrel {

std::string SearchRootFromPath(std::string_view text)
{
    if (text.size() >= 2 && (text[0] == 'C' || text[0] == 'c') && text[1] == ':' &&
        text.find_first_not_of("\\/", 2) == std::string_view::npos)
        return "/";
    return std::string(text);
}

IconSearch::IconSearch(IconSearchCallbacks callbacks) : m_callbacks(std::move(callbacks)) {}

IconSearch::~IconSearch()
{
    Stop();
    Wait();
}

bool IconSearch::Start(const IconSearchJob& job)
{
    if (IsRunning())
        return false;
    Wait(); // the threads of the last search have ended; let them go
    m_threads.clear();
    // As a capture does: without it, a missing icon folder would turn every
    // icon found into a silent failure.
    EnsureFolder(job.targetFolder);
    std::stop_token stop;
    {
        auto source = m_stop.Lock();
        *source = std::stop_source();
        stop = source->get_token();
    }
    std::vector<std::pair<std::string, Kind>> types;
    if (job.ico)
        types.emplace_back(".ico", Kind::Ico);
    if (job.dll)
        types.emplace_back(".dll", Kind::Module);
    if (job.exe)
        types.emplace_back(".exe", Kind::Module);
    // All counted before the first starts, so that a quick first thread cannot
    // take its end for the end of the search.
    m_live = int(types.size());
    if (types.empty() && m_callbacks.finished)
        m_callbacks.finished();
    for (size_t i = 0; i < types.size(); ++i) {
        try {
            m_threads.emplace_back([this, job, type = types[i], stop] {
                try {
                    Search(job, type.first, type.second, stop);
                } catch (const std::exception&) { // out of memory: this thread ends, the others go on
                }
                if (--m_live == 0 && m_callbacks.finished)
                    m_callbacks.finished();
            });
        } catch (const std::system_error&) { // no more threads: end what started
            Stop();
            if ((m_live -= int(types.size() - i)) == 0 && m_callbacks.finished)
                m_callbacks.finished();
            return false;
        }
    }
    return true;
}

void IconSearch::Stop()
{
    m_stop.Lock()->request_stop();
}

void IconSearch::Wait()
{
    for (std::jthread& t : m_threads)
        if (t.joinable())
            t.join();
}

int IconSearch::IconCount() const
{
    return *m_iconCount.Lock();
}

void IconSearch::Search(const IconSearchJob& job, std::string extension, Kind kind, std::stop_token stop)
{
    FolderWalk walk;
    walk.root = SearchRootFromPath(job.folder);
    walk.subFolders = job.subFolders;
    walk.wanted = [&](std::string_view name) { return HasExtension(name, extension); };
    walk.visit = [&](const std::string& path, const std::string& name) {
        if (kind == Kind::Ico)
            HandleIco(path, name, job.targetFolder);
        else
            HandleModule(path, name, job.targetFolder, stop);
    };
    WalkFolders(walk, stop);
}

void IconSearch::HandleIco(const std::string& path, const std::string& name, const std::string& target)
{
    if (const auto icon = ReadIconFromIcoFile(path)) {
        if (const std::string copy = WriteIconUnderFreeName(*icon, target + "/" + name); !copy.empty())
            Written(copy);
    }
    Handled(path);
}

void IconSearch::HandleModule(const std::string& path, const std::string& name, const std::string& target,
                              std::stop_token stop)
{
    auto module = IconModule::Open(path);
    if (!module)
        return;
    const auto groups = module->Groups();
    if (groups.empty())
        return;
    // Stopping may end a module part way: whatever was written is whole.
    for (size_t i = 0; i < groups.size() && !stop.stop_requested(); ++i) {
        const auto icon = module->ReadGroup(groups[i]);
        if (!icon)
            continue;
        const std::string file = WriteIconUnderFreeName(*icon, SearchModuleIconName(target, name, i));
        if (!file.empty())
            Written(file);
    }
    Handled(path);
}

void IconSearch::Written(const std::string& path)
{
    auto count = m_iconCount.Lock();
    ++*count;
    if (m_callbacks.fileWritten)
        m_callbacks.fileWritten(path);
}

void IconSearch::Handled(const std::string& path)
{
    const auto count = m_iconCount.Lock();
    if (m_callbacks.progress)
        m_callbacks.progress(path, *count); // as it is: on Linux a lower-cased path names another file
}

} // namespace vistrel
