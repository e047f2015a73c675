#pragma once
// A video file read frame by frame, for the library's embedded player. The
// decoder behind it (FFmpeg) lives in the recorder module, which the program
// loads on first use, so this header is all the rest of the program sees.
//
// One thread at a time. A broken stream ends early: Next gives nullopt.

#include "codec/bitmap.h"

#include <optional>

namespace vistrel {

class VideoFrames {
public:
    virtual ~VideoFrames() = default;
    virtual int width() const = 0;
    virtual int height() const = 0;
    // The playback rate; never 0.
    virtual double framesPerSecond() const = 0;
    // The next frame as opaque 0xAARRGGBB pixels; nullopt at the end.
    virtual std::optional<Bitmap> Next() = 0;
    // Back to the first frame; false when the file cannot be read again.
    virtual bool Rewind() = 0;
};

} // namespace vistrel
