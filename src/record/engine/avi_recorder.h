#pragma once
// The recording engine: records an area of the screen into a new AVI file until
// stopped. This is what the "AVI Capture" dialog and the command line drive.
//
//   AviRecorder recorder;
//   recorder.Start(options, region, theEnv, callbacks);  // owner thread
//   ...
//   recorder.Stop();                                      // owner thread, returns at once
//
// Start takes the next AVI name (the stored number is saved when it moves) and
// creates the file under that name at once, exclusively: nothing is ever
// replaced. The recording itself runs on a worker thread (compressor check,
// then a grab thread and an encode thread, see record_loop.h). It ends when
// Stop is called or when something fails; either way the file written so far
// is finished and kept (an empty file is removed), and `finished` is called
// exactly once.
//
// Threads: Start, Stop, Wait and the destructor belong to the thread that owns
// the recorder (the user-interface thread, or the main thread of a command-line
// run). Callbacks call none of them: one that wants the recording stopped has
// the owner do it, as a queued call. state() may be read from any thread.
//
// Callbacks come from the recording's threads, never the owner's: `started` and
// the grab watch from the grab thread, `progress` and `finished` from the
// worker (the encode thread). A window turns each into a queued call to itself
// (QMetaObject::invokeMethod with Qt::QueuedConnection and itself as the
// context, so that a call still queued when it is deleted is dropped), never
// touching widgets from them.
//
// The X server is reached on connections of the engine's own; the settings
// record is read (and its AVI number moved) only by Start, on the owner's thread.

#include "record/core/record_loop.h"
#include "record/core/record_options.h"

#include <atomic>
#include <functional>
#include <sys/types.h>
#include <memory>
#include <string>
#include <thread>

namespace vistrel {

class CEnv;

struct RecordProgress {
    int64_t positions = 0; // length of the stream so far, in frames of playback
    int64_t written = 0;   // frames compressed and written
    int64_t grabs = 0;     // grabs of the screen
    int64_t unchanged = 0; // slots left empty because nothing changed
    int64_t dropped = 0;   // slots left empty because the compressor was behind
};

struct RecordEnd {
    bool ok = false;          // ended by Stop, the file complete
    std::string path;         // the file (kept whenever it holds anything)
    dev_t device = 0;         // and its identity, to tell whether path still names it
    ino_t inode = 0;
    std::string error;        // why it failed
    FourCC compressor = 0;    // the compressor used
    int width = 0, height = 0; // the frame size used
    bool fellBack = false;    // the default compressor replaced the chosen one
    bool settingsSaved = true; // false: the AVI number could not be stored
    RecordProgress progress;
};

struct RecordCallbacks {
    std::function<void()> started; // the recording's time begins: its first frame is grabbed
    std::function<void(const RecordProgress&)> progress; // about once per second of the stream
    std::function<void(const RecordEnd&)> finished;      // once, last
    std::shared_ptr<GrabWatch> grabWatch; // told of each grab, on the grab thread
};

struct RecordStart {
    bool started = false;
    int status = 0;       // when not started: 2 the request is refused (options, area), 1 failed
    std::string path;     // the new file
    std::string error;
};

class AviRecorder {
public:
    AviRecorder();
    ~AviRecorder(); // stops a running recording and waits for it
    AviRecorder(const AviRecorder&) = delete;
    AviRecorder& operator=(const AviRecorder&) = delete;

    // Starts recording region (cut to the screen) with options; its threads
    // run at options.runPriority, this one keeps its own. Refused while
    // a recording runs. Nothing is created when the options or the area are
    // refused. Owner thread (reads and saves env).
    RecordStart Start(const AviRecordOptions& options, const RecordRegion& region, CEnv& env,
                      RecordCallbacks callbacks);

    // Asks the recording to end; it does within one sleep slice plus the frame
    // under way. Owner thread (it touches the worker's handle, which Start replaces).
    void Stop();
    // Waits until the worker has ended (after `finished` was called). Owner thread.
    void Wait();

    // Any thread.
    RecordState state() const { return m_state.load(); }

private:
    std::atomic<RecordState> m_state{RecordState::Idle};
    std::jthread m_worker;
};

// Whether path still names the file of that identity: not removed, renamed or
// replaced (with its folder, too) since it was made.
bool NamesFile(const std::string& path, dev_t device, ino_t inode);

// The screen's size from a connection of our own; false when there is no display.
bool ReadScreenSize(int& width, int& height, std::string& error);

} // namespace vistrel
