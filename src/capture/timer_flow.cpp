#include "capture/timer_flow.h"

#include "base/instance_server.h"
#include "base/trace.h"
#include "capture/capture_flow.h"
#include "capture/core/capture_busy.h"
#include "capture/core/save_capture.h"
#include "capture/grab/still_capture.h"
#include "capture/timer_capture_dialog.h"
#include "commands/command_ids.h"
#include "i18n/translate.h"
#include "library/model/capture_library.h"
#include "platform/qt/key_names.h"
#include "platform/x11/screen_grab.h"
#include "platform/x11/x11_connection.h"
#include "settings/env.h"
#include "ui/modal_run.h"
#include "ui/pictures/pictures.h"
#include "ui/tray_notify_icon.h"

#include <QApplication>
#include <QPointer>
#include <QTimer>
#include <QWidget>

namespace vistrel {

namespace {

constexpr int kTimerTrayId = 201;
// How often a timer capture asked for from the command line looks whether the
// capture before it has finished.
constexpr int kWaitForCaptureMs = 20;

} // namespace

TimerFlow::TimerFlow(CEnv& env, CaptureLibrary& library, CaptureBusy& busy, QWidget* mainWindow,
                     std::function<void(int)> runCommand)
    : m_env(env), m_library(library), m_busy(busy), m_mainWindow(mainWindow), m_runCommand(std::move(runCommand)),
      m_timer(new QTimer(this))
{
    m_timer->setSingleShot(true);
    m_timer->setTimerType(Qt::PreciseTimer);
    connect(m_timer, &QTimer::timeout, this, &TimerFlow::OnTimer);
    // Ended while the program can still answer a command-line client, and
    // without bringing back a window that is going away.
    connect(qApp, &QCoreApplication::aboutToQuit, this, [this] {
        m_bHidMainWindow = false;
        Stop();
    });
}

TimerFlow::~TimerFlow() { Stop(); }

void TimerFlow::Toggle()
{
    if (running()) {
        Stop();
        return;
    }
    // Another capture runs (or this dialog is open already): nothing to start.
    if (m_busy.busy() || m_bDialogOpen)
        return;
    emit folderWanted(FOLDER_BITMAPS);
    // Not from inside a hotkey's or a tray menu's own event: the dialog runs a loop of its own.
    QTimer::singleShot(0, this, &TimerFlow::RunDialog);
}

bool TimerFlow::OpenDisplay(std::string& error)
{
    if (!m_display || !m_display->ok())
        m_display = std::make_unique<x11::Connection>();
    if (m_display->ok())
        return true;
    error = m_display->error();
    return false;
}

std::optional<x11::ScreenRect> TimerFlow::Screen(std::string& error)
{
    if (!OpenDisplay(error))
        return std::nullopt;
    return x11::CurrentScreenRect(*m_display, &error);
}

void TimerFlow::RunDialog()
{
    if (m_busy.busy() || running() || m_bDialogOpen)
        return;
    std::string error;
    const auto screen = Screen(error);
    if (!screen) {
        emit saveFailed(QString("The timer capture cannot start: %1").arg(QString::fromStdString(error)));
        return;
    }
    // Busy while the dialog is open, so no other capture starts under it.
    m_busy.Set();
    m_bDialogOpen = true;
    CTimerCaptureDlg dialog(m_env, screen->width, screen->height, m_mainWindow);
    const bool accepted = RunModal(dialog) == QDialog::Accepted && dialog.plan();
    m_bDialogOpen = false;
    m_busy.Clear();
    if (!accepted)
        return;
    const TimerPlan plan = *dialog.plan();
    emit showMouseChosen(plan.showMouse);
    Start(plan, std::nullopt);
    if (plan.hideProgram) {
        // With no tray to show the timer, the window only goes down to the
        // task bar: hidden, it could not be found again.
        if (m_mainWindow->isVisible() && CTrayNotifyIcon::TrayAvailable()) {
            m_bHidMainWindow = true;
            m_mainWindow->hide();
        } else if (m_mainWindow->isVisible()) {
            m_mainWindow->showMinimized();
        }
    } else {
        emit mainWindowWanted();
    }
}

void TimerFlow::Start(const TimerPlan& plan, std::optional<int> shotLimit)
{
    m_busy.Set();
    m_plan = plan;
    m_bHidMainWindow = false;
    m_schedule.emplace(plan.interval, TimerSchedule::Clock::now(), shotLimit);
    ShowTray(plan);
    Trace("timer started " + std::to_string(plan.width) + "x" + std::to_string(plan.height) + " every " +
          std::to_string(plan.interval.count()) + " ms");
    ScheduleNext();
    emit runningChanged(true);
}

void TimerFlow::ShowTray(const TimerPlan& plan)
{
    auto menu = [this] {
        const auto texts = TimerTrayMenuTexts(Translator::Current(), m_env, NativeKeyName);
        return CTrayNotifyIcon::MenuEntries{{ID_SHOW_MAIN_WINDOW, QString::fromStdString(texts[0])},
                                            {ID_STOP_TIMER_CAPTURE, QString::fromStdString(texts[1])}};
    };
    std::vector<QIcon> frames;
    for (int i = 0; i < kTimerTrayFrameCount; ++i)
        frames.push_back(TimerTrayFrame(i));
    m_tray = std::make_unique<CTrayNotifyIcon>(kTimerTrayId, menu, m_runCommand);
    // The icon changes once per shot.
    m_tray->Create("Vistrel-Timer", std::move(frames), int(plan.interval.count()));
}

void TimerFlow::ScheduleNext()
{
    if (!m_schedule)
        return;
    if (m_schedule->finished()) {
        Stop();
        return;
    }
    m_timer->start(m_schedule->WaitFrom(TimerSchedule::Clock::now()));
}

void TimerFlow::OnTimer()
{
    if (!m_schedule)
        return;
    if (m_schedule->TakeShot(TimerSchedule::Clock::now()))
        TakeShot();
    ScheduleNext();
}

void TimerFlow::TakeShot()
{
    std::string error;
    if (!OpenDisplay(error)) {
        Fail({}, true, error);
        return;
    }
    std::vector<std::string> written;
    const TimerPlan& p = *m_plan;
    const StillCaptureResult shot =
        CaptureScreenArea(*m_display, p.x, p.y, p.width, p.height, p.showMouse, m_env, written);
    if (!shot.path.empty()) {
        m_library.Append(FOLDER_BITMAPS, shot.path);
        Trace("timer shot " + shot.path);
        if (m_request) // printed by the client as it comes
            m_request->Progress(shot.path + "\n");
    }
    if (shot.status != 0)
        Fail(shot.path, shot.path.empty(), shot.error);
}

void TimerFlow::Fail(const std::string& path, bool numberStored, const std::string& error)
{
    Trace("timer capture failed: " + error);
    if (m_request) {
        m_reply.status = 1;
        m_reply.error = error;
    } else {
        emit saveFailed(SaveFailureText({path, error, numberStored}));
    }
    Stop();
}

void TimerFlow::Stop()
{
    if (!m_schedule)
        return;
    m_timer->stop();
    m_schedule.reset();
    m_tray.reset();
    Trace("timer stopped");
    if (std::exchange(m_bHidMainWindow, false))
        emit mainWindowWanted();
    m_busy.Clear();
    AnswerRequest();
    emit runningChanged(false);
}

void TimerFlow::AnswerRequest()
{
    if (!m_request)
        return;
    std::shared_ptr<PendingRequest> request = std::move(m_request);
    m_request.reset();
    request->Finish(std::exchange(m_reply, {}));
}

void TimerFlow::RunForRequest(std::shared_ptr<PendingRequest> pending, const TimerRequest& request)
{
    // One capture at a time. Not started while it waits, so a client that goes
    // away meanwhile withdraws it and it is never carried out.
    if (m_busy.busy() || running()) {
        QTimer::singleShot(kWaitForCaptureMs, this, [this, pending = std::move(pending), request]() mutable {
            RunForRequest(std::move(pending), request);
        });
        return;
    }
    if (!pending->Start()) {
        Trace("timer request withdrawn");
        return;
    }
    std::string error;
    const auto screen = Screen(error);
    if (!screen) {
        pending->Finish({1, {}, error});
        return;
    }
    const TimerPlanResult plan = PlanTimerCapture(request.settings, screen->width, screen->height);
    if (const auto* problem = std::get_if<TimerSettingsError>(&plan)) {
        pending->Finish({2, {}, DescribeTimerError(*problem)});
        return;
    }
    emit folderWanted(FOLDER_BITMAPS);
    m_request = pending;
    m_reply = {};
    // The client's interrupt (SIGINT, SIGTERM) arrives on the server's thread.
    // Only this run is stopped, not one started after it.
    QPointer<TimerFlow> self(this);
    pending->OnInterrupt([self, run = pending.get()] {
        QMetaObject::invokeMethod(
            qApp,
            [self, run] {
                if (self && self->m_request.get() == run)
                    self->Stop();
            },
            Qt::QueuedConnection);
    });
    Start(std::get<TimerPlan>(plan), request.count);
}

} // namespace vistrel
