#pragma once
// CCaptureApp: start-up and shut-down of the windowed program. One per process,
// user-interface thread only.

#include "app/command_line.h"
#include "base/instance_channel.h"
#include "base/instance_lock.h"

#include <functional>
#include <memory>

class QObject;

namespace vistrel {

class PendingRequest;

class CaptureLibrary;
class CMainFrame;
class InstanceServer;
class TerminationSignals;

class CCaptureApp {
public:
    // lock: the program folder's instance lock, already held by this process.
    CCaptureApp(const CommandLine& commandLine, InstanceLock lock);
    ~CCaptureApp();

    // The start-up sequence; false: end at once with ExitInstance's code.
    bool InitInstance();
    // The shut-down sequence; the process's exit code.
    int ExitInstance();
    int Run(); // InitInstance, the event loop, ExitInstance

private:
    // Carries out a later copy's request, started; answered now or once its work is done.
    void HandleRequest(const std::shared_ptr<PendingRequest>& pending);
    // A capture waits, not started, while another capture runs, so that a
    // client that goes away meanwhile withdraws it.
    bool IsCaptureRequest(const ChannelRequest& request) const;
    void HandleCaptureRequest(const std::shared_ptr<PendingRequest>& pending);
    bool IsTimerRequest(const ChannelRequest& request) const;
    bool IsSelectRequest(const ChannelRequest& request) const;
    void HandleSelectRequest(const std::shared_ptr<PendingRequest>& pending);
    void HandleTimerRequest(const std::shared_ptr<PendingRequest>& pending);

    CommandLine m_commandLine;
    InstanceLock m_lock;
    bool m_settingsLoaded = false;
    std::unique_ptr<CaptureLibrary> m_library; // outlives the windows and what they leave running
    std::unique_ptr<CMainFrame> m_mainFrame;
    // Requests of later copies are carried out through queued calls to this
    // object, so none reaches a program that is shutting down.
    std::unique_ptr<QObject> m_requestTarget;
    std::unique_ptr<InstanceServer> m_server;
    std::unique_ptr<TerminationSignals> m_termination;
};

} // namespace vistrel
