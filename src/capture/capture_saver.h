#pragma once
// Saves the running program's still captures without holding up the window:
// the pixels are encoded on a worker thread, one capture after another, and
// each file is then named and written on the user-interface thread in the
// order the captures were taken (naming reads and moves the settings' number,
// which lives on that thread) and appended to the capture library. A capture
// handed over here is never dropped: Finish() waits for the encodes still
// running and writes them.
//
// Submit, Finish and the done callbacks run on the user-interface thread.

#include "base/guarded.h"
#include "capture/core/save_capture.h"

#include <QObject>

#include <condition_variable>
#include <deque>
#include <functional>
#include <thread>

namespace vistrel {

class CaptureLibrary;
class CEnv;

class CaptureSaver : public QObject {
    Q_OBJECT
public:
    using Done = std::function<void(const SavedCapture&)>;

    CaptureSaver(CEnv& env, CaptureLibrary& library, QObject* parent = nullptr);
    ~CaptureSaver() override; // Finish()

    // imageType as the settings say at the moment of the capture.
    void Submit(Bitmap bitmap, int bitsPerPixel, int imageType, Done done = {});
    // Blocks until every submitted capture is written.
    void Finish();

private:
    struct Job {
        Bitmap bitmap;
        int bitsPerPixel = 24;
        int imageType = 0;
        Done done;
        bool encoded = false;
        EncodedCapture result;
    };

    void Work(std::stop_token stop);
    void WriteReady(); // user-interface thread

    CEnv& m_env;
    CaptureLibrary& m_library;
    // In capture order; the worker encodes the first not encoded.
    Guarded<std::deque<Job>> m_jobs;
    std::condition_variable_any m_wake;  // a job to encode, or stop
    std::condition_variable m_encoded;   // the first job may be ready to write
    std::jthread m_worker;  // last: started once the rest exists
};

} // namespace vistrel
