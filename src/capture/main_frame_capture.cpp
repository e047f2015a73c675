// The capture side of the main window: the capture commands and hotkeys, the
// busy rule that keeps captures from overlapping, the end of a capture and its
// saving, and minimising to the tray.

#include "library/main_frame.h"

#include "capture/capture_saver.h"
#include "capture/object_capture.h"
#include "capture/region_select_window.h"
#include "capture/still_capture.h"
#include "capture/tray_notify_icon.h"
#include "i18n/translate.h"
#include "library/core/menu_layout.h"
#include "library/list_pane.h"
#include "platform/posix/trace.h"
#include "settings/command_ids.h"
#include "settings/env.h"
#include "settings/hotkey_setting.h"
#include "ui/pictures.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWindowStateChangeEvent>

#include <cstdio>

namespace vistrel {

namespace {

constexpr int kMainTrayId = 264;
// How often a capture asked for from the command line looks whether the one
// before it has finished.
constexpr int kWaitForCaptureMs = 20;
// After an object capture the main window comes back a little later, so the
// grab is surely done with the screen.
constexpr int kShowAfterObjectMs = 200;

} // namespace

void CMainFrame::OnHotKey(int id)
{
    char text[32];
    std::snprintf(text, sizeof text, "hotkey 0x%x", unsigned(id));
    Trace(text);
    const bool objectMode = m_objectCapture && m_objectCapture->active();
    if (id == HOTKEY_OBJECT) {
        if (objectMode)
            EndObjectCapture(true);
        else if (!m_bBusy)
            StartObjectCapture();
        return;
    }
    if (id == HOTKEY_AVI) {
        OnAviHotKey();
        return;
    }
    if (id == HOTKEY_ESCAPE) {
        if (objectMode)
            EndObjectCapture(false);
        return;
    }
    // The timer and recording keys wait for their windows.
    if (m_bBusy)
        return;
    switch (id) {
    case HOTKEY_FULLSCREEN: RegionCapture(SHAPE_FULLSCREEN); break;
    case HOTKEY_RECTANGLE: RegionCapture(SHAPE_RECTANGLE); break;
    case HOTKEY_CIRCLE: RegionCapture(SHAPE_CIRCLE); break;
    case HOTKEY_ELLIPSE: RegionCapture(SHAPE_ELLIPSE); break;
    case HOTKEY_POLYGON: RegionCapture(SHAPE_POLYGON); break;
    default: break;
    }
}

void CMainFrame::StartObjectCapture()
{
    ShowFolder(FOLDER_BITMAPS, true);
    if (!m_objectCapture)
        m_objectCapture = std::make_unique<CObjectCapture>(theEnv, m_hotkeys, this);
    m_objectCapture->Start();
    m_bBusy = true;
}

void CMainFrame::EndObjectCapture(bool save)
{
    auto showAgain = [this] {
        // Whether it was shown, hidden or in the tray before: the window comes back.
        QTimer::singleShot(kShowAfterObjectMs, this, [this] {
            OnShowMainWindow();
            m_bBusy = false;
        });
    };
    if (!save) {
        m_objectCapture->Cancel();
        showAgain();
        return;
    }
    m_objectCapture->Finish([this, showAgain](std::optional<Bitmap> picture, const std::string& error) {
        if (picture)
            m_saver->Submit(std::move(*picture), kCaptureBitsPerPixel, theEnv.m_nCaptureType);
        else
            // Finished before any window was framed: there is nothing to save.
            Trace("object capture saved nothing: " + error);
        showAgain();
    });
}

void CMainFrame::RegionCapture(CaptureShape shape)
{
    // The overlay covers the screen while a selection runs, so no command reaches
    // this then; a request from the command line waits in CaptureForRequest.
    if (m_regionSelect && m_regionSelect->capturing())
        return;
    ShowFolder(FOLDER_BITMAPS, true);
    if (!m_regionSelect)
        m_regionSelect = std::make_unique<CRegionSelectWnd>(theEnv, this, [this] { return m_bInTray; });
    m_bBusy = true;
    m_regionSelect->SetShape(shape);
    if (shape == SHAPE_FULLSCREEN)
        m_regionSelect->SetIncludeCursor(m_bShowMouse);
    m_regionSelect->BeginCapture([this](bool finished, std::optional<Bitmap> picture, const std::string& error) {
        OnCaptureDone(finished, std::move(picture), error);
    });
}

void CMainFrame::OnCaptureDone(bool finished, std::optional<Bitmap> picture, const std::string& error)
{
    m_bBusy = false;
    auto requestDone = std::exchange(m_requestDone, nullptr);
    if (!finished || !picture) {
        if (!error.empty())
            Trace("capture failed: " + error);
        if (requestDone)
            requestDone({1, {}, error.empty() ? "the capture was cancelled" : error});
        return;
    }
    m_saver->Submit(std::move(*picture), kCaptureBitsPerPixel, theEnv.m_nCaptureType,
                    [requestDone](const SavedCapture& saved) {
                        if (!requestDone)
                            return;
                        ChannelReply reply;
                        reply.status = saved.path.empty() || !saved.settingsSaved ? 1 : 0;
                        reply.error = saved.error;
                        if (!saved.path.empty())
                            reply.output = saved.path + "\n";
                        requestDone(reply);
                    });
}

void CMainFrame::CaptureForRequest(const CaptureRequest& request, std::function<void(ChannelReply)> done)
{
    // One capture at a time: a request waits for the capture before it.
    if (m_bBusy) {
        QTimer::singleShot(kWaitForCaptureMs, this,
                           [this, request, done = std::move(done)]() mutable { CaptureForRequest(request, std::move(done)); });
        return;
    }
    ShowFolder(FOLDER_BITMAPS, true);
    StillGrab grab = GrabStill(request, theEnv);
    if (!grab.bitmap) {
        done({grab.status, {}, grab.error});
        return;
    }
    m_requestDone = std::move(done);
    OnCaptureDone(true, std::move(grab.bitmap), {});
}

void CMainFrame::FinishSaving()
{
    if (m_saver)
        m_saver->Finish();
}

std::vector<std::pair<int, QString>> CMainFrame::TrayMenuTexts() const
{
    std::vector<uint32_t> ids;
    for (const MenuEntry& entry : TrayMenuLayout())
        ids.push_back(uint32_t(std::max(entry.id, 0)));
    const auto translated = TranslateMenuByCommand(theEnv, ids);
    std::vector<std::pair<int, QString>> texts;
    for (const MenuEntry& entry : TrayMenuLayout()) {
        QString text = QString::fromUtf8(entry.text.data(), int(entry.text.size()));
        for (const auto& [id, shown] : translated)
            if (int(id) == entry.id)
                text = QString::fromStdString(shown);
        texts.emplace_back(entry.id, text);
    }
    return texts;
}

void CMainFrame::MinimiseToTray()
{
    RemoveMainTray();
    auto menu = [this] {
        CTrayNotifyIcon::MenuEntries entries;
        for (auto& [id, text] : TrayMenuTexts()) {
            const QAction* action = Action(id);
            entries.push_back({id, text, id == ID_SHOW_MAIN_WINDOW || (action && action->isEnabled())});
        }
        return entries;
    };
    m_pMainTray = std::make_unique<CTrayNotifyIcon>(kMainTrayId, menu, [this](int id) { OnCommand(id); });
    m_pMainTray->Create("Vistrel", TrayIcon());
    m_bInTray = true;
    hide();
}

void CMainFrame::RemoveMainTray()
{
    m_pMainTray.reset();
}

void CMainFrame::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange)
        return;
    if (isMinimized()) {
        // With no tray host the window minimises as any other: hidden in a tray
        // nobody shows, it could not be brought back.
        if (!m_bInTray && CTrayNotifyIcon::TrayAvailable())
            QTimer::singleShot(0, this, [this] {
                setWindowState(windowState() & ~Qt::WindowMinimized);
                MinimiseToTray();
            });
        return;
    }
    if (m_bInTray && isVisible()) { // restored or maximised by other means
        RemoveMainTray();
        m_bInTray = false;
    }
}

void CMainFrame::OnShowMainWindow()
{
    RemoveMainTray();
    m_bInTray = false;
    if (isMinimized())
        showNormal();
    else
        show();
    raise();
    activateWindow();
}

void CMainFrame::ActivateForAnotherCopy()
{
    if (m_bInTray || isMinimized() || !isVisible())
        OnShowMainWindow();
    raise();
    activateWindow();
    if (QWidget* dialog = QApplication::activeModalWidget()) {
        dialog->raise();
        dialog->activateWindow();
    }
}

} // namespace vistrel
