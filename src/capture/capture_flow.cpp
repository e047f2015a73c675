#include "capture/capture_flow.h"

#include "base/instance_server.h"
#include "base/trace.h"
#include "capture/capture_saver.h"
#include "capture/core/capture_busy.h"
#include "capture/core/save_capture.h"
#include "capture/grab/still_capture.h"
#include "capture/object_capture.h"
#include "capture/region_select_window.h"
#include "settings/env.h"

#include <QTimer>

#include <utility>

namespace vistrel {

namespace {

// How often a capture asked for from the command line looks whether the one
// before it has finished.
constexpr int kWaitForCaptureMs = 20;
// After an object capture the main window comes back a little later, so the
// grab is surely done with the screen.
constexpr int kShowAfterObjectMs = 200;

// One answer that gives the same reply to each of answers.
CaptureFlow::Answer AnswerAll(std::vector<CaptureFlow::Answer> answers)
{
    if (answers.empty())
        return {};
    return [answers = std::move(answers)](const ChannelReply& reply) {
        for (const auto& answer : answers)
            answer(reply);
    };
}

CaptureFlow::Answer AnswerTo(const std::shared_ptr<PendingRequest>& pending)
{
    return [pending](ChannelReply reply) { pending->Finish(std::move(reply)); };
}

CaptureShape ShapeOf(SelectShape shape)
{
    switch (shape) {
    case SelectShape::Circle: return SHAPE_CIRCLE;
    case SelectShape::Ellipse: return SHAPE_ELLIPSE;
    case SelectShape::Polygon: return SHAPE_POLYGON;
    case SelectShape::Rectangle:
    case SelectShape::Object: break;
    }
    return SHAPE_RECTANGLE;
}

const char* const kCancelled = "the capture was cancelled";

} // namespace

QString SaveFailureText(const SavedCapture& saved)
{
    if (saved.path.empty())
        return QString("The capture could not be saved.\n\n%1").arg(QString::fromStdString(saved.error));
    if (!saved.settingsSaved)
        return QString("The capture was saved as %1, but its number could not be stored:\n\n%2")
            .arg(QString::fromStdString(saved.path), QString::fromStdString(saved.error));
    return {};
}

CaptureFlow::CaptureFlow(CEnv& env, CaptureLibrary& library, CaptureBusy& busy, HotkeyRegistrar& hotkeys,
                         QWidget* mainWindow, std::function<bool()> inTray)
    : m_env(env), m_library(library), m_busy(busy), m_hotkeys(hotkeys), m_mainWindow(mainWindow),
      m_inTray(std::move(inTray)), m_saver(std::make_unique<CaptureSaver>(env, library))
{
}

CaptureFlow::~CaptureFlow() { FinishSaving(); }

void CaptureFlow::FinishSaving() { m_saver->Finish(); }

void CaptureFlow::OnObjectHotKey()
{
    if (m_objectCapture && m_objectCapture->active())
        EndObjectCapture(true);
    else if (!m_busy.busy())
        StartObjectCapture();
}

void CaptureFlow::OnEscapeHotKey()
{
    if (m_objectCapture && m_objectCapture->active())
        EndObjectCapture(false);
}

void CaptureFlow::StartObjectCapture()
{
    emit folderWanted(FOLDER_BITMAPS);
    if (!m_objectCapture)
        m_objectCapture = std::make_unique<CObjectCapture>(m_env, m_hotkeys, m_mainWindow);
    m_objectCapture->Start();
    m_busy.Set();
    Trace("object capture started");
}

void CaptureFlow::EndObjectCapture(bool save)
{
    Answer answer = AnswerAll(std::exchange(m_objectAnswers, {}));
    auto showAgain = [this] {
        // Whether it was shown, hidden or in the tray before: the window comes back.
        QTimer::singleShot(kShowAfterObjectMs, this, [this] {
            emit mainWindowWanted();
            m_busy.Clear();
        });
    };
    if (!save) {
        m_objectCapture->Cancel();
        Trace("object capture cancelled");
        if (answer)
            answer({1, {}, kCancelled});
        showAgain();
        return;
    }
    m_objectCapture->Finish([this, showAgain, answer](std::optional<Bitmap> picture, const std::string& error) {
        if (picture) {
            Save(std::move(*picture), answer);
        } else {
            // Finished before any window was framed: there is nothing to save.
            Trace("object capture saved nothing: " + error);
            if (answer)
                answer({1, {}, error.empty() ? kCancelled : error});
        }
        showAgain();
    });
}

void CaptureFlow::RegionCapture(CaptureShape shape, Answer answer)
{
    // The overlay covers the screen while a selection runs, so no command reaches
    // this then; a request from the command line waits in CaptureForRequest.
    if (m_regionSelect && m_regionSelect->capturing()) {
        if (answer)
            answer({1, {}, "another capture is under way"});
        return;
    }
    emit folderWanted(FOLDER_BITMAPS);
    if (!m_regionSelect)
        m_regionSelect = std::make_unique<CRegionSelectWnd>(m_env, m_mainWindow, m_inTray);
    m_busy.Set();
    m_regionSelect->SetShape(shape);
    if (shape == SHAPE_FULLSCREEN)
        m_regionSelect->SetIncludeCursor(m_bShowMouse);
    m_regionSelect->BeginCapture(
        [this, answer = std::move(answer)](bool finished, std::optional<Bitmap> picture, const std::string& error) {
            OnCaptureDone(finished, std::move(picture), error, answer);
        });
}

void CaptureFlow::OnCaptureDone(bool finished, std::optional<Bitmap> picture, const std::string& error,
                                Answer answer)
{
    m_busy.Clear();
    if (!finished || !picture) {
        Trace(error.empty() ? std::string("capture cancelled") : "capture failed: " + error);
        if (answer)
            answer({1, {}, error.empty() ? kCancelled : error});
        return;
    }
    Save(std::move(*picture), std::move(answer));
}

void CaptureFlow::Save(Bitmap picture, Answer answer)
{
    m_saver->Submit(std::move(picture), kCaptureBitsPerPixel, m_env.m_nCaptureType,
                    [this, answer = std::move(answer)](const SavedCapture& saved) { ReportSaved(saved, answer); });
}

void CaptureFlow::ReportSaved(const SavedCapture& saved, const Answer& answer)
{
    if (answer) {
        // The command line's client prints the outcome; the window stays quiet.
        ChannelReply reply;
        reply.status = saved.path.empty() || !saved.settingsSaved ? 1 : 0;
        reply.error = saved.error;
        if (!saved.path.empty())
            reply.output = saved.path + "\n";
        answer(reply);
        return;
    }
    if (const QString text = SaveFailureText(saved); !text.isEmpty())
        emit saveFailed(text);
}

bool CaptureFlow::StartWhenFree(const std::shared_ptr<PendingRequest>& pending, std::function<void()> retry)
{
    // One capture at a time. Not started while it waits, so a client that goes
    // away meanwhile withdraws it and it is never carried out.
    if (m_busy.busy()) {
        QTimer::singleShot(kWaitForCaptureMs, this, std::move(retry));
        return false;
    }
    if (!pending->Start()) {
        Trace("capture request withdrawn");
        return false;
    }
    return true;
}

void CaptureFlow::CaptureForRequest(std::shared_ptr<PendingRequest> pending, const CaptureRequest& request)
{
    if (!StartWhenFree(pending, [this, pending, request] { CaptureForRequest(pending, request); }))
        return;
    emit folderWanted(FOLDER_BITMAPS);
    StillGrab grab = GrabStill(request, m_env);
    const Answer answer = AnswerTo(pending);
    if (!grab.bitmap) {
        answer({grab.status, {}, grab.error});
        return;
    }
    OnCaptureDone(true, std::move(grab.bitmap), {}, answer);
}

void CaptureFlow::SelectForRequest(std::shared_ptr<PendingRequest> pending, SelectShape shape)
{
    if (shape == SelectShape::Object && m_objectCapture && m_objectCapture->active()) {
        if (pending->Start()) {
            m_objectAnswers.push_back(AnswerTo(pending));
            EndObjectCapture(true);
        }
        return;
    }
    if (!StartWhenFree(pending, [this, pending, shape] { SelectForRequest(pending, shape); }))
        return;
    if (shape == SelectShape::Object) {
        m_objectAnswers.push_back(AnswerTo(pending));
        StartObjectCapture();
        return;
    }
    RegionCapture(ShapeOf(shape), AnswerTo(pending));
}

} // namespace vistrel
