#pragma once
// What the recorder module (vistrel-recorder.so) offers the windowed program,
// which loads it on first use (record/recorder_module.h). Both sides are built
// from this header in one build; the stamp refuses a module of another build.

#include "platform/posix/instance_server.h"
#include "record/core/record_request.h"

#include <functional>
#include <memory>

class QWidget;

namespace vistrel {

struct RecorderEntryPoints {
    const char* stamp;
    size_t size; // sizeof(RecorderEntryPoints) where the module was built

    // The "AVI Capture" dialog, run modally (see record/avi_capture_dialog.h).
    void (*runAviCaptureDialog)(QWidget* parent, std::function<void()> aviListChanged);
    // The AVI hotkey while a dialog is open: stops its recording, or raises it.
    // False when no dialog is open.
    bool (*stopRunningRecording)();
    // Carries out a --record handed over by another copy: answers through
    // request->Finish once the recording has ended (after its seconds, or when
    // the client asks it to end or goes away). User-interface thread.
    void (*recordForRequest)(std::shared_ptr<PendingRequest> request, const RecordWords& words,
                             std::function<void()> aviListChanged);
};

} // namespace vistrel

extern "C" const vistrel::RecorderEntryPoints* vistrel_recorder_entry_points();
