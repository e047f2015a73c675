#pragma once
// Opening an FFmpeg encoder the way a recording uses it: the frame size, the
// playback rate as its time base, the key-frame distance, no frames held back
// for reordering (each packet's position is its frame's), and the quality
// (0 to 10000) turned into what the encoder understands.

#include "platform/ffmpeg/compressor_catalog.h"

#include <memory>
#include <string>

extern "C" {
#include <libavcodec/avcodec.h>
}

namespace vistrel::ffmpeg {

struct CodecContextDeleter {
    void operator()(AVCodecContext* c) const { avcodec_free_context(&c); }
};
using CodecContextPtr = std::unique_ptr<AVCodecContext, CodecContextDeleter>;

struct EncoderParameters {
    int width = 0;
    int height = 0;
    int fps = 20;
    int keyFrameEvery = 20;
    int quality = 6500;
    bool threads = false; // let the encoder use every core (for recording, not for a size test)
};

// The open encoder, or null with the reason in error.
CodecContextPtr OpenEncoder(const EncoderSpec& spec, const EncoderParameters& parameters, std::string& error);

// The fixed quantiser of the JPEG and MPEG-4 encoders (1 best to 31) for a
// quality of 0 to 10000, following the JPEG quality scale (quality / 100).
int QuantiserForQuality(int quality);

// FFmpeg's text for an error code.
std::string AvError(int code);

} // namespace vistrel::ffmpeg
