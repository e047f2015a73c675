#include "app/capture_app.h"

#include "app/settings_commands.h"
#include "app/timer_commands.h"
#include "base/instance_server.h"
#include "base/program_folder.h"
#include "base/system_language.h"
#include "capture/core/capture_request.h"
#include "commands/command_ids.h"
#include "i18n/language_files.h"
#include "library/core/capture_lists.h"
#include "library/model/capture_library.h"
#include "mainframe/main_frame.h"
#include "platform/qt/termination_signals.h"
#include "settings/env.h"
#include "settings/folders.h"
#include "ui/program_style.h"

#include <QApplication>

#include <atomic>
#include <cstdio>
#include <cstdlib>

namespace vistrel {

namespace {

// Set while the loaded settings are not yet written back. The toolkit ends the
// process with exit() when the display goes away; the settings are written then too.
std::atomic<bool> g_settingsToSaveAtExit {false};

void SaveSettingsAtExit()
{
    if (g_settingsToSaveAtExit.exchange(false))
        theEnv.Save();
}

} // namespace

CCaptureApp::CCaptureApp(const CommandLine& commandLine, InstanceLock lock)
    : m_commandLine(commandLine), m_lock(std::move(lock))
{
}

CCaptureApp::~CCaptureApp() = default;

bool CCaptureApp::InitInstance()
{
    QApplication::setStyle(new ProgramStyle); // the application owns it
    // The program lives on with no window shown (in the tray, while a capture
    // hides it, behind the reminder before an object capture); it ends by Exit
    // or by closing its main window, never because a dialog closed last.
    QApplication::setQuitOnLastWindowClosed(false);
    qApp->setStyleSheet(kDialogStyleSheet);

    // A program folder under the user's data folder may not exist yet.
    EnsureFolder(GetProgramFolder());
    theEnv.Load();
    CollectLanguageFiles();
    m_settingsLoaded = true;
    static const bool registered = std::atexit(SaveSettingsAtExit) == 0;
    (void)registered;
    g_settingsToSaveAtExit = true;

    // With no file chosen, the shipped file of the system's language: its menus
    // carry the hotkeys and the polished texts.
    if (g_strLanguageFile.empty())
        g_strLanguageFile = LanguageFilePath(
            SystemDefaultLangId() == LANGID_CHINESE_PRC ? "vstlchs.ini" : "vstleng.ini", g_languageFiles);

    m_termination = std::make_unique<TerminationSignals>();
    m_library = std::make_unique<CaptureLibrary>(g_captureLists);
    m_mainFrame = std::make_unique<CMainFrame>(*m_library);
    m_mainFrame->show();
    m_mainFrame->StartServices();
    if (!m_commandLine.rest.empty() && m_commandLine.rest.back() == '0')
        m_mainFrame->showMinimized();

    m_requestTarget = std::make_unique<QObject>();
    QObject* target = m_requestTarget.get();
    m_server = std::make_unique<InstanceServer>(m_lock.socketPath(), [this, target](std::shared_ptr<PendingRequest> request) {
        // On the server's thread: carried out later on this one, if still wanted.
        QMetaObject::invokeMethod(
            target,
            [this, request] {
                if (IsCaptureRequest(request->words()))
                    HandleCaptureRequest(request); // started once no other capture runs
                else if (IsTimerRequest(request->words()))
                    HandleTimerRequest(request); // the same
                else if (IsSelectRequest(request->words()))
                    HandleSelectRequest(request); // the same
                else if (request->Start())
                    HandleRequest(request);
            },
            Qt::QueuedConnection);
    });
    if (!m_server->listening())
        std::fprintf(stderr, "vistrel: %s; later starts will wait for this copy to end\n", m_server->error().c_str());
    return true;
}

int CCaptureApp::ExitInstance()
{
    // Requests not started yet go back to their clients, which then carry them
    // out themselves once the lock is free.
    m_server.reset();
    m_requestTarget.reset();
    // Captures still being encoded are written before the settings are.
    if (m_mainFrame)
        m_mainFrame->FinishSaving();
    // A copy that never loaded the settings must not write its defaults over
    // the stored ones.
    if (m_settingsLoaded && g_settingsToSaveAtExit.exchange(false))
        theEnv.Save();
    m_mainFrame.reset();
    m_library.reset();
    g_captureLists.clear();
    g_languageFiles.clear();
    return 0;
}

int CCaptureApp::Run()
{
    int code = 0;
    if (InitInstance())
        code = QApplication::exec();
    int exitCode = ExitInstance();
    return code != 0 ? code : exitCode;
}

bool CCaptureApp::IsCaptureRequest(const ChannelRequest& request) const
{
    return !request.empty() && request.front() == "--capture" && m_mainFrame;
}

bool CCaptureApp::IsTimerRequest(const ChannelRequest& request) const
{
    return !request.empty() && request.front() == "--timer" && m_mainFrame;
}

bool CCaptureApp::IsSelectRequest(const ChannelRequest& request) const
{
    return !request.empty() && request.front() == "--select" && m_mainFrame;
}

void CCaptureApp::HandleSelectRequest(const std::shared_ptr<PendingRequest>& pending)
{
    std::string error;
    const ChannelRequest& words = pending->words();
    const auto shape = words.size() == 2 ? ParseSelectShape(words[1], error) : std::nullopt;
    if (!shape) {
        if (pending->Start())
            pending->Finish({2, {}, error.empty() ? "--select takes one shape" : error});
        return;
    }
    m_mainFrame->SelectForRequest(pending, *shape);
}

void CCaptureApp::HandleTimerRequest(const std::shared_ptr<PendingRequest>& pending)
{
    std::string error;
    const auto commandLine = ParseCommandLine(pending->words(), error);
    std::optional<TimerRequest> timer;
    if (commandLine && IsTimerCommand(*commandLine))
        timer = ParseTimerRequest(TimerWordsOf(*commandLine), error);
    if (!timer) {
        if (pending->Start())
            pending->Finish({2, {}, error});
        return;
    }
    m_mainFrame->TimerForRequest(pending, *timer);
}

void CCaptureApp::HandleCaptureRequest(const std::shared_ptr<PendingRequest>& pending)
{
    const ChannelRequest& request = pending->words();
    std::vector<std::string> words;
    bool includeCursor = true;
    for (size_t i = 1; i < request.size(); ++i) {
        if (request[i] == "--no-cursor")
            includeCursor = false;
        else
            words.push_back(request[i]);
    }
    std::string error;
    auto capture = ParseCaptureRequest(words, includeCursor, error);
    if (!capture) {
        if (pending->Start())
            pending->Finish({2, {}, error});
        return;
    }
    // Saved like the program's own captures, the answer once the file is there.
    m_mainFrame->CaptureForRequest(pending, *capture);
}

void CCaptureApp::HandleRequest(const std::shared_ptr<PendingRequest>& pending)
{
    const ChannelRequest& request = pending->words();
    const auto done = [pending](ChannelReply reply) { pending->Finish(std::move(reply)); };
    ChannelReply reply;
    if (request == ChannelRequest{std::to_string(ID_SHOW_MAIN_WINDOW)}) {
        if (m_mainFrame)
            m_mainFrame->ActivateForAnotherCopy();
        done(reply);
        return;
    }
    if (!request.empty() && request.front() == "--set") {
        std::vector<std::string> assignments(request.begin() + 1, request.end());
        // As the Options sheet's OK: the keys are let go, changed, saved, taken again.
        theEnv.UnregisterHotkeys(false);
        reply.status = ApplySettingAssignments(assignments, reply.error);
        if (reply.status == 0 && !theEnv.Save()) {
            reply.status = 1;
            reply.error = "cannot write " + CEnv::SettingsFilePath();
        }
        theEnv.RegisterHotkeys(false);
        done(reply);
        return;
    }
    if (request == ChannelRequest{"--record-dialog"} && m_mainFrame) {
        m_mainFrame->RecordDialogForRequest(pending);
        return;
    }
    if (!request.empty() && request.front() == "--record" && m_mainFrame) {
        std::vector<std::string> args(request.begin(), request.end());
        const auto commandLine = ParseCommandLine(args, reply.error);
        if (!commandLine || !IsRecordCommand(*commandLine) || commandLine->record.empty()) {
            reply.status = 2;
            done(reply);
            return;
        }
        m_mainFrame->RecordForRequest(pending, {commandLine->record, commandLine->recordSeconds,
                                                commandLine->recordCodec, commandLine->recordRate,
                                                commandLine->recordQuality});
        return;
    }
    reply.status = 2;
    reply.error = "the running copy does not know this request";
    done(reply);
}

} // namespace vistrel
