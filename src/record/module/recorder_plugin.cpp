// The recorder module's one entry: the windowed program finds it by name.

#include "library/model/capture_library.h"
#include "platform/ffmpeg/video_frame_reader.h"
#include "record/dialogs/avi_capture_dialog.h"
#include "record/engine/avi_recorder.h"
#include "record/engine/record_command.h"
#include "record/module/recorder_entry.h"
#include "settings/env.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QTimer>

#include <algorithm>
#include <mutex>
#include <optional>

namespace vistrel {

namespace {

// A recording for another copy's command line: it ends after its seconds, or
// when that copy asks (its user pressed Ctrl+C) or goes away.
class RequestRecording : public std::enable_shared_from_this<RequestRecording> {
public:
    RequestRecording(std::shared_ptr<PendingRequest> request, CaptureLibrary& library)
        : m_request(std::move(request)), m_library(library)
    {
    }
    ~RequestRecording() { QObject::disconnect(m_quit); }

    void Start(const PreparedRecording& prepared)
    {
        std::weak_ptr<RequestRecording> weak = weak_from_this();
        RecordCallbacks callbacks;
        if (const auto seconds = prepared.request.seconds) {
            // Counted from the first frame, so the file is as long as asked.
            callbacks.started = [weak, ms = int(std::min(*seconds * 1000.0, 2e9))] {
                OnUiThread([weak, ms] {
                    QTimer::singleShot(ms, Qt::PreciseTimer, qApp, [weak] {
                        if (auto self = weak.lock())
                            self->m_recorder.Stop();
                    });
                });
            };
        }
        callbacks.finished = [weak](const RecordEnd& end) {
            if (auto self = weak.lock()) {
                std::lock_guard lock(self->m_endMutex);
                self->m_end = end;
            }
            OnUiThread([weak] {
                if (auto self = weak.lock())
                    self->Finished();
            });
        };
        const RecordStart start = m_recorder.Start(prepared.request.options, prepared.region, theEnv, callbacks);
        if (!start.started) {
            m_request->Finish({start.status, {}, start.error});
            return;
        }
        m_self = shared_from_this(); // until the recording has ended
        // A program that ends meanwhile finishes the file first, and answers:
        // its event loop will not run the queued call. The connection goes with
        // this recording, so that handed-over recordings do not pile them up.
        m_quit = QObject::connect(qApp, &QCoreApplication::aboutToQuit, qApp, [weak] {
            if (auto self = weak.lock()) {
                self->m_recorder.Stop();
                self->m_recorder.Wait();
                self->Finished();
            }
        });
        // Comes on the server's thread: the recorder is stopped (and let go)
        // on this one, never while it is being waited for here.
        m_request->OnInterrupt([weak] {
            OnUiThread([weak] {
                if (auto self = weak.lock())
                    self->m_recorder.Stop();
            });
        });
    }

private:
    static void OnUiThread(std::function<void()> call)
    {
        QMetaObject::invokeMethod(qApp, std::move(call), Qt::QueuedConnection);
    }

    // Once, after the recorder has reported its end.
    void Finished()
    {
        RecordEnd end;
        {
            std::lock_guard lock(m_endMutex);
            if (!m_end || m_answered)
                return;
            m_answered = true;
            end = *m_end;
        }
        const RecordReport report = ReportRecordEnd(end);
        ChannelReply reply;
        if (!report.path.empty()) {
            m_library.Append(FOLDER_AVI, report.path);
            reply.output = report.path + "\n";
        }
        for (const std::string& problem : report.problems)
            reply.error += (reply.error.empty() ? "" : "; ") + problem;
        reply.status = report.status;
        m_request->Finish(std::move(reply));
        // Let go later: the worker that reported this is still returning.
        OnUiThread([self = std::move(m_self)] { self->m_recorder.Wait(); });
    }

    std::shared_ptr<PendingRequest> m_request;
    CaptureLibrary& m_library;
    std::shared_ptr<RequestRecording> m_self;
    QMetaObject::Connection m_quit; // aboutToQuit, while this recording lives
    std::mutex m_endMutex;
    std::optional<RecordEnd> m_end; // set by the worker
    bool m_answered = false;
    AviRecorder m_recorder; // last: its worker ends before the rest goes
};

void RecordForRequest(std::shared_ptr<PendingRequest> request, const RecordWords& words, CaptureLibrary& library)
{
    int status = 0;
    std::string error;
    const auto prepared = PrepareRecording(words, status, error);
    if (!prepared) {
        request->Finish({status, {}, error});
        return;
    }
    std::make_shared<RequestRecording>(std::move(request), library)->Start(*prepared);
}

const RecorderEntryPoints kEntryPoints{VISTREL_RECORDER_STAMP, sizeof(RecorderEntryPoints), RunAviCaptureDialog,
                                       StopRunningRecording, RecordForRequest,
                                       ffmpeg::OpenVideoFrames};

} // namespace

} // namespace vistrel

extern "C" __attribute__((visibility("default"))) const vistrel::RecorderEntryPoints* vistrel_recorder_entry_points()
{
    return &vistrel::kEntryPoints;
}
