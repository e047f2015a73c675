#include "app/capture_app.h"

#include "app/settings_commands.h"
#include "capture/still_capture.h"
#include "library/core/capture_lists.h"
#include "library/main_frame.h"
#include "platform/posix/program_folder.h"
#include "platform/posix/system_language.h"
#include "platform/qt/instance_channel.h"
#include "platform/qt/termination_signals.h"
#include "settings/command_ids.h"
#include "settings/env.h"
#include "settings/folders.h"

#include <QApplication>

namespace vistrel {

namespace {

constexpr int kHandOverTimeoutMs = 3000;

const char* const kDialogStyle =
    "QDialog, QMessageBox { background-color: rgb(215, 235, 255); color: rgb(0, 0, 0); }";

} // namespace

CCaptureApp::CCaptureApp(const CommandLine& commandLine)
    : m_commandLine(commandLine), m_lock(GetProgramFolder())
{
}

CCaptureApp::~CCaptureApp() = default;

bool CCaptureApp::InitInstance()
{
    qApp->setStyleSheet(kDialogStyle);

    if (m_lock.TryAcquire() == InstanceLock::State::HeldByAnother && !ActivatePreviousInstance())
        return false;

    // A program folder under the user's data folder may not exist yet.
    std::string folder = GetProgramFolder();
    if (!IsFolder(folder))
        CreateFolderPath(folder);
    theEnv.Load();
    m_settingsLoaded = true;

    if (g_strLanguageFile.empty() && SystemDefaultLangId() == LANGID_CHINESE_PRC)
        g_strLanguageFile = LanguageFolder() + "/vstlchs.ini";

    m_termination = std::make_unique<TerminationSignals>();
    m_mainFrame = std::make_unique<CMainFrame>();
    m_mainFrame->show();
    if (!m_commandLine.rest.empty() && m_commandLine.rest.back() == '0')
        m_mainFrame->showMinimized();

    if (m_lock.held())
        m_server = std::make_unique<InstanceServer>(
            QString::fromStdString(m_lock.socketPath()),
            [this](const QStringList& request) { return HandleRequest(request); });
    return true;
}

int CCaptureApp::ExitInstance()
{
    // A copy that handed over never loaded the settings, so it must not write
    // its defaults over the running copy's.
    if (m_settingsLoaded)
        theEnv.Save();
    m_server.reset();
    m_mainFrame.reset();
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

bool CCaptureApp::ActivatePreviousInstance()
{
    // The holder may be a command-line run that never answers; once it has ended
    // the lock is ours and this copy goes on as the first. A copy that neither
    // answers nor ends (still starting, or going away) leaves us to end quietly.
    ChannelReply reply;
    HandOver outcome = SendToRunningCopy(
        QString::fromStdString(m_lock.socketPath()), {QString::number(ID_SHOW_MAIN_WINDOW)},
        kHandOverTimeoutMs, [this] { return m_lock.TryAcquire() == InstanceLock::State::Acquired; }, reply);
    return outcome == HandOver::LockTaken;
}

ChannelReply CCaptureApp::HandleRequest(const QStringList& request)
{
    ChannelReply reply;
    if (request == QStringList{QString::number(ID_SHOW_MAIN_WINDOW)}) {
        if (m_mainFrame)
            m_mainFrame->ActivateForAnotherCopy();
        return reply;
    }
    if (!request.isEmpty() && request.front() == "--set") {
        std::vector<std::string> assignments;
        for (qsizetype i = 1; i < request.size(); ++i)
            assignments.push_back(request[i].toStdString());
        // As the Options sheet's OK: the keys are let go, changed, saved, taken again.
        theEnv.UnregisterHotkeys(false);
        std::string error;
        reply.status = ApplySettingAssignments(assignments, error);
        if (reply.status == 0 && !theEnv.Save()) {
            reply.status = 1;
            error = "cannot write " + CEnv::SettingsFilePath();
        }
        theEnv.RegisterHotkeys(false);
        reply.error = QString::fromStdString(error);
        return reply;
    }
    if (!request.isEmpty() && request.front() == "--capture") {
        std::vector<std::string> words;
        bool includeCursor = true;
        for (qsizetype i = 1; i < request.size(); ++i) {
            if (request[i] == "--no-cursor")
                includeCursor = false;
            else
                words.push_back(request[i].toStdString());
        }
        std::string error;
        auto capture = ParseCaptureRequest(words, includeCursor, error);
        if (!capture) {
            reply.status = 2;
            reply.error = QString::fromStdString(error);
            return reply;
        }
        StillCaptureResult result = RunStillCapture(*capture, theEnv, g_captureLists.bitmaps);
        reply.status = result.status;
        reply.error = QString::fromStdString(result.error);
        if (result.status == 0)
            reply.output = QString::fromStdString(result.path) + "\n";
        return reply;
    }
    reply.status = 2;
    reply.error = "the running copy does not know this request: " + request.join(' ');
    return reply;
}

} // namespace vistrel
