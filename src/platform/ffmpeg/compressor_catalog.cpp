#include "platform/ffmpeg/compressor_catalog.h"

#include "base/trace.h"
#include "platform/ffmpeg/encoder_setup.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/log.h>
}

#include <array>
#include <mutex>

namespace vistrel::ffmpeg {

namespace {

// List order: the compressor of the old program first, then the default, then
// the rest from the most to the least compact.
constexpr std::array<EncoderSpec, 9> kEncoders{{
    {MakeFourCC('M', 'S', 'V', 'C'), "msvideo1", "Microsoft Video 1", AV_PIX_FMT_RGB555LE, false},
    {MakeFourCC('X', 'V', 'I', 'D'), "mpeg4", "MPEG-4 part 2 (Xvid compatible)", AV_PIX_FMT_YUV420P, false},
    {MakeFourCC('M', 'J', 'P', 'G'), "mjpeg", "Motion JPEG", AV_PIX_FMT_YUVJ420P, false},
    {MakeFourCC('H', '2', '6', '4'), "libx264", "H.264 (x264)", AV_PIX_FMT_YUV420P, false},
    {MakeFourCC('Z', 'M', 'B', 'V'), "zmbv", "Zip Motion Blocks Video", AV_PIX_FMT_BGR0, false},
    {MakeFourCC('F', 'F', 'V', '1'), "ffv1", "FFV1 lossless", AV_PIX_FMT_BGR0, false},
    {MakeFourCC('U', 'L', 'R', 'G'), "utvideo", "Ut Video lossless (RGB)", AV_PIX_FMT_GBRP, false},
    {MakeFourCC('H', 'F', 'Y', 'U'), "huffyuv", "Huffyuv lossless", AV_PIX_FMT_BGRA, false},
    {MakeFourCC('D', 'I', 'B', ' '), "rawvideo", "Uncompressed RGB", AV_PIX_FMT_BGR24, true},
}};

} // namespace

void QuietFfmpegLog()
{
    static std::once_flag once;
    std::call_once(once, [] { av_log_set_level(TraceEnabled() ? AV_LOG_WARNING : AV_LOG_QUIET); });
}

const EncoderSpec* FindEncoderSpec(FourCC code)
{
    QuietFfmpegLog();
    for (const EncoderSpec& spec : kEncoders) {
        if (spec.code == code && avcodec_find_encoder_by_name(spec.encoder))
            return &spec;
    }
    return nullptr;
}

std::vector<CompressorInfo> InstalledCompressors()
{
    std::vector<CompressorInfo> list;
    for (const EncoderSpec& spec : kEncoders) {
        if (list.size() < kMaxCompressors && FindEncoderSpec(spec.code))
            list.push_back({spec.code, spec.description});
    }
    return list;
}

bool FfmpegCompressorQuery::Has(FourCC code) const { return FindEncoderSpec(code) != nullptr; }

bool FfmpegCompressorQuery::Accepts(FourCC code, int width, int height) const
{
    const EncoderSpec* spec = FindEncoderSpec(code);
    if (!spec)
        return false;
    EncoderParameters parameters;
    parameters.width = width;
    parameters.height = height;
    std::string error;
    return OpenEncoder(*spec, parameters, error) != nullptr;
}

} // namespace vistrel::ffmpeg
