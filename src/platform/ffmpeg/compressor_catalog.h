#pragma once
// The installed compressors: FFmpeg encoders of this build that can write an
// AVI stream, each under the FourCC the file gets and a description. Whether a
// compressor takes a frame size is found by opening its encoder for that size
// in the pixel format it is fed.
//
// Threads: any.

#include "record/core/compressor_choice.h"
#include "record/core/record_options.h"

#include <string>
#include <vector>

extern "C" {
#include <libavutil/pixfmt.h>
}

namespace vistrel::ffmpeg {

struct CompressorInfo {
    FourCC code = 0;
    std::string description;
};

// The installed compressors in list order (at most kMaxCompressors).
std::vector<CompressorInfo> InstalledCompressors();
constexpr size_t kMaxCompressors = 30;

// The compressor a recording uses when none is chosen or the chosen one fails
// (record_options.h says why it is not "MSVC").
constexpr FourCC kDefaultCompressor = kDefaultCompressorFourCC;

// How a compressor is made; nullptr for a code this build does not have.
struct EncoderSpec {
    FourCC code;
    const char* encoder;     // FFmpeg's encoder name
    const char* description;
    AVPixelFormat format;    // what the encoder is fed
    bool rawBottomUp;        // uncompressed rows, stored bottom-up with tag 0
};
const EncoderSpec* FindEncoderSpec(FourCC code);

class FfmpegCompressorQuery : public CompressorQuery {
public:
    bool Has(FourCC code) const override;
    bool Accepts(FourCC code, int width, int height) const override;
};

// FFmpeg's own messages go to stderr only with VISTREL_TRACE set; a refused
// frame size is an answer, not something to print. Called by everything here.
void QuietFfmpegLog();

} // namespace vistrel::ffmpeg
