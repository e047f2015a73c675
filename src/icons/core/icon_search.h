#pragma once
// The folder search for icons: up to three worker threads, one per file type
// (.ico, .dll, .exe), walk a folder tree and write every icon they find into the
// icon folder as a new .ico file. An .ico file is copied under its own name; a
// module's groups become TITLE001.ico, TITLE002.ico, ... in directory order. A
// name taken by another file is left alone and the icon goes under the next
// free name (WriteIconUnderFreeName); an icon already there byte for byte, or
// one without images, is neither written nor counted.
//
// Threads: Start, Wait and the destructor belong to the thread that owns the
// object. Stop, IsRunning and IconCount may be called from any thread, the
// callbacks included. The callbacks run on the worker threads, one at a time,
// under the search's one lock (which also guards the count); they must not call
// Start or Wait.

#include "base/guarded.h"

#include <atomic>
#include <functional>
#include <stop_token>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace vistrel {

struct IconSearchJob {
    std::string folder;        // where to search (see SearchRootFromPath)
    bool subFolders = true;
    bool ico = true, dll = false, exe = false;
    std::string targetFolder;  // the icon folder
};

struct IconSearchCallbacks {
    // A file was written (the count already holds it).
    std::function<void(const std::string& writtenPath)> fileWritten;
    // A file of a thread's type was handled: every .ico file, every module with
    // icon groups. currentFile is its path as found, letter case kept (a
    // lower-cased path would name another file, or none).
    std::function<void(const std::string& currentFile, int iconCount)> progress;
    // The last thread of a search is ending (called outside the lock); with no
    // type ticked, at once from Start. Must not call Stop.
    std::function<void()> finished;
};

class IconSearch {
public:
    explicit IconSearch(IconSearchCallbacks callbacks);
    ~IconSearch(); // stops the threads and waits for them
    IconSearch(const IconSearch&) = delete;
    IconSearch& operator=(const IconSearch&) = delete;

    // Starts one thread per type ticked, in the order .ico, .dll, .exe, after
    // creating the target folder if it is missing. False while a search is
    // still running.
    bool Start(const IconSearchJob& job);
    // Asks every thread to end after its current file. Does not wait.
    void Stop();
    bool IsRunning() const { return m_live.load() > 0; }
    // Waits until the threads have ended.
    void Wait();
    // Files written by all the searches of this object.
    int IconCount() const;

private:
    enum class Kind { Ico, Module };
    void Search(const IconSearchJob& job, std::string extension, Kind kind, std::stop_token stop);
    void HandleIco(const std::string& path, const std::string& name, const std::string& target);
    void HandleModule(const std::string& path, const std::string& name, const std::string& target,
                      std::stop_token stop);
    void Written(const std::string& path);
    void Handled(const std::string& path);

    IconSearchCallbacks m_callbacks;
    // The search's one lock: held while a callback runs, so that they come one at a time.
    Guarded<int> m_iconCount {0};
    std::atomic<int> m_live {0};
    // One per search, shared by its threads; guarded, as Stop may come from any thread.
    Guarded<std::stop_source> m_stop;
    std::vector<std::jthread> m_threads;
};

// The search path as the user gives it: the default "C:" (the whole system
// drive) is the root "/".
std::string SearchRootFromPath(std::string_view text);

} // namespace vistrel
