#include "platform/ffmpeg/encoder_setup.h"

#include <algorithm>
#include <cmath>

extern "C" {
#include <libavutil/opt.h>
}

namespace vistrel::ffmpeg {

std::string AvError(int code)
{
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return text;
}

int QuantiserForQuality(int quality)
{
    // JPEG's own scale: quality q (1..100) scales the base tables by 5000/q %
    // below 50 and by 200 - 2q % from 50; a quantiser of 4 is about 100 %.
    const double q = std::clamp(quality, 0, 10000) / 100.0;
    if (q <= 0)
        return 31;
    const double percent = q < 50 ? 5000.0 / q : 200.0 - 2.0 * q;
    return std::clamp(int(std::lround(percent / 25.0)), 1, 31);
}

CodecContextPtr OpenEncoder(const EncoderSpec& spec, const EncoderParameters& p, std::string& error)
{
    const AVCodec* codec = avcodec_find_encoder_by_name(spec.encoder);
    if (!codec) {
        error = std::string("this FFmpeg has no ") + spec.encoder + " encoder";
        return nullptr;
    }
    CodecContextPtr c(avcodec_alloc_context3(codec));
    if (!c) {
        error = "out of memory";
        return nullptr;
    }
    c->width = p.width;
    c->height = p.height;
    c->pix_fmt = spec.format;
    c->time_base = AVRational{1, std::max(p.fps, 1)};
    c->framerate = AVRational{std::max(p.fps, 1), 1};
    c->gop_size = std::max(p.keyFrameEvery, 1);
    c->max_b_frames = 0;
    c->thread_count = p.threads ? 0 : 1;
    c->thread_type = FF_THREAD_SLICE;
    const std::string name = spec.encoder;
    if (name == "mjpeg" || name == "mpeg4") {
        c->flags |= AV_CODEC_FLAG_QSCALE;
        c->global_quality = FF_QP2LAMBDA * QuantiserForQuality(p.quality);
        if (name == "mjpeg") // full-range YUV as JPEG has it
            c->color_range = AVCOL_RANGE_JPEG;
    } else if (name == "libx264") {
        const double crf = 51.0 - std::clamp(p.quality, 0, 10000) * 51.0 / 10000.0;
        av_opt_set_double(c->priv_data, "crf", crf, 0);
        av_opt_set(c->priv_data, "preset", "ultrafast", 0);
        av_opt_set(c->priv_data, "tune", "zerolatency", 0);
    }
    AVDictionary* options = nullptr;
    const int result = avcodec_open2(c.get(), codec, &options);
    av_dict_free(&options);
    if (result < 0) {
        error = std::string("the ") + spec.description + " compressor refuses " + std::to_string(p.width) + " x " +
                std::to_string(p.height) + " frames: " + AvError(result);
        return nullptr;
    }
    return c;
}

} // namespace vistrel::ffmpeg
