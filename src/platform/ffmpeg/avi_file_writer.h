#pragma once
// One AVI file written by libavformat with one FFmpeg encoder: the recorder's
// FrameSink. The stream's time base is one frame of playback (1 / fps); each
// frame is written at its position, every packet lasts one frame, and the
// positions skipped in between become the muxer's empty entries, so the file
// keeps real time.
//
// The file is the descriptor it is given (created exclusively under its final
// name), written in place: every packet reaches the file as soon as it is
// made, and about once a second the header's sizes and frame counts are filled
// in (avi_header_patch.h), so a process that dies leaves a file that plays up
// to its last second. Finish writes the index and the final header.
//
// Threads: one thread at a time.

#include "base/unique_fd.h"
#include "platform/ffmpeg/compressor_catalog.h"
#include "platform/ffmpeg/encoder_setup.h"
#include "record/core/record_loop.h"

#include <memory>
#include <string>

namespace vistrel::ffmpeg {

struct AviWriterSettings {
    FourCC code = kDefaultCompressor;
    int width = 0;
    int height = 0;
    int fps = 20;
    int keyFrameEvery = 20;
    int quality = 6500;
};

class AviFileWriter : public FrameSink {
public:
    // Opens the encoder and writes the file's header into fd. Null with the
    // reason in error (fd is closed then; nothing may have been written).
    static std::unique_ptr<AviFileWriter> Open(UniqueFd fd, const AviWriterSettings& settings, std::string& error);
    ~AviFileWriter() override;

    // frame: 0xAARRGGBB pixels of the settings' size; position: greater than
    // the last one written.
    bool Write(const Bitmap& frame, int64_t position, std::string& error) override;

    // Drains the encoder, writes the index and the final header, closes the
    // file. Called once; after a failed Write it still makes the file whole
    // as far as it was written.
    bool Finish(std::string& error);

    // Fills in the header's sizes now (done about once a second by Write).
    bool Checkpoint(std::string& error);

private:
    struct State;
    explicit AviFileWriter(std::unique_ptr<State> state);
    bool Send(const AVFrame* frame, std::string& error);
    std::unique_ptr<State> m_state;
};

} // namespace vistrel::ffmpeg
