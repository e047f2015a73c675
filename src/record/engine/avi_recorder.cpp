#include "record/engine/avi_recorder.h"

#include "base/new_file.h"
#include "base/thread_priority.h"
#include "base/trace.h"
#include "capture/core/capture_geometry.h"
#include "platform/ffmpeg/avi_file_writer.h"
#include "platform/ffmpeg/compressor_catalog.h"
#include "platform/x11/screen_grab.h"
#include "record/core/compressor_choice.h"
#include "record/engine/screen_source.h"
#include "settings/capture_names.h"
#include "settings/env.h"

#include <sys/stat.h>
#include <unistd.h>

namespace vistrel {

namespace {

// The new file, named and created at once; its identity, so that only this
// very file is ever removed again.
struct NewAvi {
    UniqueFd fd;
    std::string path;
    dev_t device = 0;
    ino_t inode = 0;
};

RecordStart Refused(int status, std::string error)
{
    RecordStart start;
    start.status = status;
    start.error = std::move(error);
    return start;
}

// Removes the recording's file when it holds no frame (a failure before the
// first one), as long as the name still is that file.
void RemoveIfEmpty(const NewAvi& file, bool wroteFrames)
{
    if (!wroteFrames && NamesFile(file.path, file.device, file.inode))
        ::unlink(file.path.c_str());
}

RecordProgress Snapshot(const RecordStats& stats)
{
    return {stats.positions.load(), stats.written.load(), stats.grabs.load(), stats.unchanged.load(),
            stats.dropped.load()};
}

struct Job {
    AviRecordOptions options;
    Rect area; // on the screen
    int screenWidth = 0, screenHeight = 0;
    NewAvi file;
    RecordCallbacks callbacks;
    bool settingsSaved = true;
    std::optional<int> nice; // of the recording's threads; none: as the program runs
};

RecordEnd Record(Job& job, std::stop_token stop, std::atomic<RecordState>& state)
{
    RecordEnd end;
    end.path = job.file.path;
    end.device = job.file.device;
    end.inode = job.file.inode;
    end.settingsSaved = job.settingsSaved;
    const AviRecordOptions& o = job.options;
    ffmpeg::FfmpegCompressorQuery query;
    const auto choice = ChooseCompressor(query, o.compressorFourCC, ffmpeg::kDefaultCompressor, job.area.left,
                                         job.area.top, job.area.width(), job.area.height(), job.screenWidth,
                                         job.screenHeight);
    if (!choice) {
        end.error = "no compressor takes frames of " + std::to_string(job.area.width()) + " x " +
                    std::to_string(job.area.height()) + " pixels";
        return end;
    }
    end.compressor = choice->code;
    end.width = choice->width;
    end.height = choice->height;
    end.fellBack = choice->fellBack;

    ScreenFrameSource source(o, choice->width, choice->height);
    if (!source.ok()) {
        end.error = "cannot grab the screen: " + source.error();
        return end;
    }
    const ffmpeg::AviWriterSettings settings{choice->code, choice->width,   choice->height,
                                             o.playbackFps, o.keyFrameEvery, o.quality};
    std::string error;
    auto writer = ffmpeg::AviFileWriter::Open(std::move(job.file.fd), settings, error);
    if (!writer) {
        end.error = error;
        return end;
    }

    GrabSettings grab;
    grab.intervalMs = o.captureIntervalMs;
    grab.playbackFps = o.playbackFps;
    grab.keyFrameEvery = o.keyFrameEvery;
    grab.area = {job.area.left, job.area.top, job.area.left + choice->width - 1, job.area.top + choice->height - 1};
    grab.autoPan = o.autoPan != 0;
    grab.autoPanSpeed = o.autoPanSpeed;
    grab.screenWidth = job.screenWidth;
    grab.screenHeight = job.screenHeight;
    SteadyRecordClock clock;
    RecordStats stats;
    RecordHooks hooks;
    hooks.started = job.callbacks.started;
    hooks.threadStarts = [nice = job.nice] { ApplyRecordingNice(nice); };
    hooks.grabWatch = job.callbacks.grabWatch.get();
    hooks.progress = [&] {
        if (job.callbacks.progress)
            job.callbacks.progress(Snapshot(stats));
    };
    const RecordOutcome outcome = RunRecording(source, *writer, clock, grab, stop, stats, hooks);
    state = RecordState::Ending; // also when it ended by itself
    std::string finishError;
    const bool finished = writer->Finish(finishError);
    end.progress = Snapshot(stats);
    end.error = !outcome.error.empty() ? outcome.error : finishError;
    end.ok = outcome.error.empty() && finished;
    Trace("recording " + end.path + ": " + FourCCText(end.compressor) + " " + std::to_string(end.width) + "x" +
          std::to_string(end.height) + ", " + std::to_string(end.progress.positions) + " positions, " +
          std::to_string(end.progress.grabs) + " grabs, " + std::to_string(end.progress.written) + " written, " +
          std::to_string(end.progress.unchanged) + " unchanged, " + std::to_string(end.progress.dropped) +
          " dropped" + (source.watchesChanges() ? "" : ", no change watch") +
          (source.usesSharedMemory() ? "" : ", no shared memory"));
    return end;
}

} // namespace

bool NamesFile(const std::string& path, dev_t device, ino_t inode)
{
    struct stat now {};
    return ::lstat(path.c_str(), &now) == 0 && now.st_dev == device && now.st_ino == inode;
}

bool ReadScreenSize(int& width, int& height, std::string& error)
{
    x11::Connection conn;
    if (!conn.ok()) {
        error = conn.error();
        return false;
    }
    const auto screen = x11::CurrentScreenRect(conn, &error);
    if (!screen)
        return false;
    width = screen->width;
    height = screen->height;
    return true;
}

AviRecorder::AviRecorder() = default;

AviRecorder::~AviRecorder()
{
    Stop();
    Wait();
}

void AviRecorder::Stop()
{
    if (m_worker.joinable()) {
        RecordState expected = RecordState::Recording;
        m_state.compare_exchange_strong(expected, RecordState::Ending);
        m_worker.request_stop();
    }
}

void AviRecorder::Wait()
{
    if (m_worker.joinable() && m_worker.get_id() != std::this_thread::get_id())
        m_worker.join();
}

RecordStart AviRecorder::Start(const AviRecordOptions& options, const RecordRegion& region, CEnv& env,
                               RecordCallbacks callbacks)
{
    if (m_worker.joinable() && m_worker.get_id() == std::this_thread::get_id())
        return Refused(1, "a recording cannot be started from its own callback");
    if (m_state.load() != RecordState::Idle)
        return Refused(1, "a recording is running already");
    Wait(); // the last one has called `finished` and is about to return
    if (std::string problem = CheckRecordOptions(options); !problem.empty())
        return Refused(2, problem);
    if (region.isEmpty())
        return Refused(2, "the area to record is empty");

    Job job;
    job.options = options;
    if (const auto base = CurrentThreadNice())
        job.nice = RecordingNice(options.runPriority, *base);
    job.callbacks = std::move(callbacks);
    std::string error;
    if (!ReadScreenSize(job.screenWidth, job.screenHeight, error))
        return Refused(1, error);
    const auto visible =
        VisiblePart(region.left, region.top, int(std::min<int64_t>(region.width(), INT32_MAX)),
                    int(std::min<int64_t>(region.height(), INT32_MAX)), {0, 0, job.screenWidth, job.screenHeight});
    if (const auto* problem = std::get_if<CaptureAreaError>(&visible))
        return Refused(2, "cannot record that area: " + DescribeAreaError(*problem));
    job.area = std::get<Rect>(visible);

    // The name, and the file under it, before anything else can take it.
    CreatedFile created;
    job.settingsSaved = CaptureNames::ForAvi(env).CreateFile(
        [&created](const std::string& folder, const NameSource& candidates) {
            created = CreateNewFile(folder, candidates);
        });
    if (!created.fd)
        return Refused(1, created.result.error);
    struct stat made {};
    ::fstat(created.fd.get(), &made);
    job.file = {std::move(created.fd), created.result.path, made.st_dev, made.st_ino};

    RecordStart start;
    start.started = true;
    start.path = job.file.path;
    m_state = RecordState::Recording;
    m_worker = std::jthread([this, job = std::move(job)](std::stop_token stop) mutable {
        ApplyRecordingNice(job.nice);
        RecordEnd end = Record(job, stop, m_state);
        const bool wroteFrames = end.progress.written > 0;
        RemoveIfEmpty(job.file, wroteFrames);
        if (!wroteFrames && !end.error.empty())
            end.path.clear();
        m_state = RecordState::Idle;
        if (job.callbacks.finished)
            job.callbacks.finished(end);
    });
    return start;
}

} // namespace vistrel
