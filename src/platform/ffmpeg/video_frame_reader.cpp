#include "platform/ffmpeg/video_frame_reader.h"

#include "platform/ffmpeg/encoder_setup.h"

#include <cstring>

extern "C" {
#include <libavformat/avformat.h>
#include <libswscale/swscale.h>
}

namespace vistrel::ffmpeg {

namespace {

// A sane ceiling for a frame: what the codec's limits allow a still picture.
constexpr int kMaxSide = 16384;

struct FormatDeleter {
    void operator()(AVFormatContext* f) const { avformat_close_input(&f); }
};
struct FrameDeleter {
    void operator()(AVFrame* f) const { av_frame_free(&f); }
};
struct PacketDeleter {
    void operator()(AVPacket* p) const { av_packet_free(&p); }
};
struct ScalerDeleter {
    void operator()(SwsContext* s) const { sws_freeContext(s); }
};

class FfmpegVideoFrames final : public VideoFrames {
public:
    bool Open(const std::string& path, std::string& error);
    int width() const override { return m_decoder->width; }
    int height() const override { return m_decoder->height; }
    double framesPerSecond() const override { return m_fps; }
    std::optional<Bitmap> Next() override;
    bool Rewind() override;

private:
    std::optional<Bitmap> Convert();

    std::unique_ptr<AVFormatContext, FormatDeleter> m_format;
    CodecContextPtr m_decoder;
    std::unique_ptr<AVFrame, FrameDeleter> m_frame{av_frame_alloc()};
    std::unique_ptr<AVPacket, PacketDeleter> m_packet{av_packet_alloc()};
    std::unique_ptr<SwsContext, ScalerDeleter> m_scaler;
    int m_stream = -1;
    double m_fps = 20;
    bool m_drained = false;
};

bool FfmpegVideoFrames::Open(const std::string& path, std::string& error)
{
    AVFormatContext* format = nullptr;
    if (int rc = avformat_open_input(&format, path.c_str(), nullptr, nullptr); rc < 0) {
        error = path + ": " + AvError(rc);
        return false;
    }
    m_format.reset(format);
    if (int rc = avformat_find_stream_info(format, nullptr); rc < 0) {
        error = path + ": " + AvError(rc);
        return false;
    }
    const AVCodec* codec = nullptr;
    m_stream = av_find_best_stream(format, AVMEDIA_TYPE_VIDEO, -1, -1, &codec, 0);
    if (m_stream < 0 || !codec) {
        error = path + ": no video stream that this build can decode";
        return false;
    }
    const AVStream* stream = format->streams[m_stream];
    m_decoder.reset(avcodec_alloc_context3(codec));
    if (!m_decoder || !m_frame || !m_packet ||
        avcodec_parameters_to_context(m_decoder.get(), stream->codecpar) < 0 ||
        avcodec_open2(m_decoder.get(), codec, nullptr) < 0) {
        error = path + ": cannot open the decoder";
        return false;
    }
    if (m_decoder->width <= 0 || m_decoder->height <= 0 || m_decoder->width > kMaxSide ||
        m_decoder->height > kMaxSide) {
        error = path + ": the video has no usable size";
        return false;
    }
    const AVRational rate = stream->avg_frame_rate.num > 0 ? stream->avg_frame_rate : stream->r_frame_rate;
    if (rate.num > 0 && rate.den > 0)
        m_fps = av_q2d(rate);
    if (!(m_fps > 0.1 && m_fps < 1000))
        m_fps = 20;
    return true;
}

std::optional<Bitmap> FfmpegVideoFrames::Next()
{
    while (true) {
        const int got = avcodec_receive_frame(m_decoder.get(), m_frame.get());
        if (got == 0)
            return Convert();
        if (got != AVERROR(EAGAIN) || m_drained)
            return std::nullopt;
        // The decoder wants more: the next packet of our stream, or the end.
        while (true) {
            const int read = av_read_frame(m_format.get(), m_packet.get());
            if (read < 0) {
                m_drained = true;
                avcodec_send_packet(m_decoder.get(), nullptr);
                break;
            }
            const bool ours = m_packet->stream_index == m_stream;
            const int sent = ours ? avcodec_send_packet(m_decoder.get(), m_packet.get()) : 0;
            av_packet_unref(m_packet.get());
            if (ours) {
                if (sent < 0 && sent != AVERROR(EAGAIN))
                    continue; // a damaged packet: the next one may decode
                break;
            }
        }
    }
}

std::optional<Bitmap> FfmpegVideoFrames::Convert()
{
    const AVFrame& f = *m_frame;
    if (f.width != m_decoder->width || f.height != m_decoder->height)
        return std::nullopt; // a size change mid-stream: not ours to play
    m_scaler.reset(sws_getCachedContext(m_scaler.release(), f.width, f.height, AVPixelFormat(f.format), f.width,
                                        f.height, AV_PIX_FMT_BGRA, SWS_BILINEAR, nullptr, nullptr, nullptr));
    if (!m_scaler)
        return std::nullopt;
    Bitmap picture(f.width, f.height);
    uint8_t* planes[4] = {reinterpret_cast<uint8_t*>(picture.pixels.data()), nullptr, nullptr, nullptr};
    const int strides[4] = {f.width * 4, 0, 0, 0};
    if (sws_scale(m_scaler.get(), f.data, f.linesize, 0, f.height, planes, strides) != f.height)
        return std::nullopt;
    for (uint32_t& pixel : picture.pixels)
        pixel |= 0xFF000000u;
    return picture;
}

bool FfmpegVideoFrames::Rewind()
{
    if (av_seek_frame(m_format.get(), m_stream, 0, AVSEEK_FLAG_BACKWARD) < 0 &&
        avformat_seek_file(m_format.get(), m_stream, 0, 0, 0, 0) < 0)
        return false;
    avcodec_flush_buffers(m_decoder.get());
    m_drained = false;
    return true;
}

} // namespace

std::unique_ptr<VideoFrames> OpenVideoFrames(const std::string& path, std::string& error)
{
    auto frames = std::make_unique<FfmpegVideoFrames>();
    if (!frames->Open(path, error))
        return nullptr;
    return frames;
}

} // namespace vistrel::ffmpeg
