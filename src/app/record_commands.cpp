#include "app/record_commands.h"

#include "app/cli_commands.h"
#include "base/instance_channel.h"
#include "base/instance_lock.h"
#include "base/program_folder.h"
#include "platform/ffmpeg/compressor_catalog.h"
#include "record/core/record_request.h"
#include "record/engine/avi_recorder.h"
#include "record/engine/record_command.h"
#include "settings/env.h"
#include "settings/folders.h"

#include <atomic>
#include <chrono>
#include <csignal>
#include <ctime>
#include <iostream>
#include <mutex>

namespace vistrel {

namespace {

RecordWords WordsOf(const CommandLine& cl)
{
    return {cl.record, cl.recordSeconds, cl.recordCodec, cl.recordRate, cl.recordQuality};
}

ChannelRequest RecordRequestWords(const CommandLine& cl)
{
    ChannelRequest words{"--record"};
    words.insert(words.end(), cl.record.begin(), cl.record.end());
    const std::pair<const char*, const std::optional<std::string>*> options[] = {
        {"--seconds", &cl.recordSeconds}, {"--codec", &cl.recordCodec},
        {"--rate", &cl.recordRate},       {"--quality", &cl.recordQuality}};
    for (const auto& [name, value] : options) {
        if (*value) {
            words.push_back(name);
            words.push_back(**value);
        }
    }
    return words;
}

int RecordHere(const PreparedRecording& prepared)
{
    theEnv.Load();
    // Blocked before the recorder's threads start, so they inherit the mask
    // and the main thread takes the signals.
    const sigset_t endSignals = EndSignals();
    pthread_sigmask(SIG_BLOCK, &endSignals, nullptr);
    std::signal(SIGPIPE, SIG_IGN); // a closed stdout is reported, not fatal

    std::mutex mutex;
    RecordEnd end;
    std::atomic<bool> ended{false};
    // --seconds counts from the first frame, so the file is as long as asked.
    using Clock = std::chrono::steady_clock;
    std::atomic<Clock::rep> startedAt{0};
    RecordCallbacks callbacks;
    callbacks.started = [&] { startedAt = Clock::now().time_since_epoch().count(); };
    callbacks.finished = [&](const RecordEnd& e) {
        std::lock_guard lock(mutex);
        end = e;
        ended = true;
    };
    const RecordRequest& request = prepared.request;
    AviRecorder recorder;
    const RecordStart start = recorder.Start(request.options, prepared.region, theEnv, callbacks);
    if (!start.started) {
        std::cerr << "vistrel: " << start.error << "\n";
        return start.status;
    }

    const auto length = std::chrono::duration_cast<Clock::duration>(
        std::chrono::duration<double>(request.seconds.value_or(0)));
    while (!ended) {
        auto slice = std::chrono::milliseconds(50);
        if (request.seconds && startedAt != 0) {
            const auto left = Clock::time_point(Clock::duration(startedAt.load())) + length - Clock::now();
            if (left <= std::chrono::steady_clock::duration::zero())
                break;
            slice = std::min(slice, std::chrono::duration_cast<std::chrono::milliseconds>(left) +
                                        std::chrono::milliseconds(1));
        }
        const timespec wait{0, long(std::chrono::nanoseconds(slice).count())};
        if (sigtimedwait(&endSignals, nullptr, &wait) > 0)
            break;
    }
    recorder.Stop();
    recorder.Wait();

    std::lock_guard lock(mutex);
    const RecordReport report = ReportRecordEnd(end);
    for (const std::string& problem : report.problems)
        std::cerr << "vistrel: " << problem << "\n";
    if (!report.path.empty() && !PrintToStdout(report.path + "\n"))
        return 1;
    return report.status;
}

} // namespace

int ListCodecs()
{
    std::string text;
    for (const ffmpeg::CompressorInfo& info : ffmpeg::InstalledCompressors())
        text += FourCCText(info.code) + "\t" + info.description + "\n";
    return PrintToStdout(text) ? 0 : 1;
}

int RunRecordCommand(const CommandLine& commandLine)
{
    // Checked before the lock is waited for.
    int status = 0;
    std::string error;
    const auto prepared = PrepareRecording(WordsOf(commandLine), status, error);
    if (!prepared) {
        std::cerr << "vistrel: " << error << "\n";
        return status;
    }

    const std::string folder = GetProgramFolder();
    EnsureFolder(folder);
    InstanceLock lock(folder);
    // Handed over, the end signals ask the running copy to end the recording,
    // and its answer is still printed.
    const UniqueFd ended = TakeEndSignals();
    ChannelReply reply;
    const HandOver outcome = HandOverOrLock(
        lock, RecordRequestWords(commandLine), reply, error,
        SayWaitingForAnotherRun,
        ended.get());
    switch (outcome) {
    case HandOver::LockAcquired: return RecordHere(*prepared);
    case HandOver::Failed: std::cerr << "vistrel: " << error << "\n"; return 1;
    case HandOver::Answered: break;
    }
    return ReportReply(reply);
}

} // namespace vistrel
