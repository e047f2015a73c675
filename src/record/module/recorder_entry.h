#pragma once
// What the recorder module (vistrel-recorder.so) offers the windowed program
// (recording, and the FFmpeg decoding of the library's video player),
// which loads it on first use (record/recorder_module.h). Both sides are built
// from this header in one build; the stamp refuses a module of another build.

#include "base/instance_server.h"
#include "library/core/video_frames.h"
#include "record/core/record_request.h"

#include <functional>
#include <memory>
#include <string>

class QWidget;

namespace vistrel {

class CaptureLibrary;

struct RecorderEntryPoints {
    const char* stamp;
    size_t size; // sizeof(RecorderEntryPoints) where the module was built

    // The "AVI Capture" dialog, run modally (see record/dialogs/avi_capture_dialog.h).
    // status: told once a second how a recording goes, and "" once it has ended.
    void (*runAviCaptureDialog)(QWidget* parent, CaptureLibrary& library,
                                std::function<void(const std::string& text)> status);
    // The AVI hotkey while a dialog is open: stops its recording, or raises it.
    // False when no dialog is open.
    bool (*stopRunningRecording)();
    // Carries out a --record handed over by another copy: answers through
    // request->Finish once the recording has ended (after its seconds, or when
    // the client asks it to end or goes away); the file is appended to library.
    // User-interface thread.
    void (*recordForRequest)(std::shared_ptr<PendingRequest> request, const RecordWords& words,
                             CaptureLibrary& library);
    // The frames of a video file for the library's player; null with the
    // reason in error. Any thread; the object is used by one at a time.
    std::unique_ptr<VideoFrames> (*openVideoFrames)(const std::string& path, std::string& error);
};

} // namespace vistrel

extern "C" const vistrel::RecorderEntryPoints* vistrel_recorder_entry_points();
