#pragma once
// CCaptureApp: start-up and shut-down of the windowed program. One per process,
// user-interface thread only.

#include "app/command_line.h"
#include "platform/posix/instance_lock.h"

#include <QStringList>

#include <memory>

namespace vistrel {

class CMainFrame;
class InstanceServer;
class TerminationSignals;
struct ChannelReply;

class CCaptureApp {
public:
    explicit CCaptureApp(const CommandLine& commandLine);
    ~CCaptureApp();

    // The start-up sequence; false: end at once with ExitInstance's code.
    bool InitInstance();
    // The shut-down sequence; the process's exit code.
    int ExitInstance();
    int Run(); // InitInstance, the event loop, ExitInstance

private:
    ChannelReply HandleRequest(const QStringList& request);
    // True when no copy runs after all and this one carries on as the first.
    bool ActivatePreviousInstance();

    CommandLine m_commandLine;
    InstanceLock m_lock;
    bool m_settingsLoaded = false;
    std::unique_ptr<CMainFrame> m_mainFrame;
    std::unique_ptr<InstanceServer> m_server;
    std::unique_ptr<TerminationSignals> m_termination;
};

} // namespace vistrel
