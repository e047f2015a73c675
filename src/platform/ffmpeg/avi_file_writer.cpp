#include "platform/ffmpeg/avi_file_writer.h"

#include "record/core/avi_header_patch.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <optional>
#include <vector>

#include <unistd.h>

extern "C" {
#include <libavformat/avformat.h>
#include <libavutil/imgutils.h>
#include <libswscale/swscale.h>
}

namespace vistrel::ffmpeg {

namespace {

// The header the muxer writes first (with the space it keeps for the OpenDML
// index) lies well within this.
constexpr int64_t kHeaderMirrorBytes = int64_t(1) << 20;
constexpr int kIoBufferBytes = 1 << 16;

#if LIBAVFORMAT_VERSION_MAJOR < 61
using WriteBuffer = uint8_t*;
#else
using WriteBuffer = const uint8_t*;
#endif

} // namespace

struct AviFileWriter::State {
    UniqueFd fd;
    int64_t position = 0; // where the muxer writes next
    int64_t length = 0;
    std::vector<uint8_t> header; // the file's first bytes as written
    std::optional<AviHeaderFields> fields;

    AviWriterSettings settings;
    const EncoderSpec* spec = nullptr;
    CodecContextPtr encoder;
    AVFormatContext* format = nullptr;
    AVIOContext* io = nullptr;
    AVStream* stream = nullptr;
    SwsContext* scaler = nullptr;
    AVFrame* frame = nullptr;
    AVPacket* packet = nullptr;
    bool finished = false;
    uint64_t frames = 0;        // entries in the stream so far, empty ones included
    uint64_t nextCheckpoint = 0;

    ~State()
    {
        sws_freeContext(scaler);
        av_frame_free(&frame);
        av_packet_free(&packet);
        if (format)
            avformat_free_context(format);
        if (io) {
            av_freep(&io->buffer);
            avio_context_free(&io);
        }
    }

    static int WriteCallback(void* opaque, WriteBuffer data, int size)
    {
        auto* s = static_cast<State*>(opaque);
        const uint8_t* bytes = data;
        for (int done = 0; done < size;) {
            const ssize_t n = ::pwrite(s->fd.get(), bytes + done, size_t(size - done), s->position + done);
            if (n < 0) {
                if (errno == EINTR)
                    continue;
                return AVERROR(errno);
            }
            if (n == 0)
                return AVERROR(EIO);
            done += int(n);
        }
        if (s->position < kHeaderMirrorBytes) {
            const int64_t end = std::min<int64_t>(s->position + size, kHeaderMirrorBytes);
            if (int64_t(s->header.size()) < end)
                s->header.resize(size_t(end));
            std::memcpy(s->header.data() + s->position, bytes, size_t(end - s->position));
        }
        s->position += size;
        s->length = std::max(s->length, s->position);
        return size;
    }

    static int64_t SeekCallback(void* opaque, int64_t offset, int whence)
    {
        auto* s = static_cast<State*>(opaque);
        switch (whence & ~AVSEEK_FORCE) {
        case AVSEEK_SIZE: return s->length;
        case SEEK_SET: break;
        case SEEK_CUR: offset += s->position; break;
        case SEEK_END: offset += s->length; break;
        default: return AVERROR(EINVAL);
        }
        if (offset < 0)
            return AVERROR(EINVAL);
        s->position = offset;
        return offset;
    }
};

AviFileWriter::AviFileWriter(std::unique_ptr<State> state) : m_state(std::move(state)) {}

AviFileWriter::~AviFileWriter() = default;

std::unique_ptr<AviFileWriter> AviFileWriter::Open(UniqueFd fd, const AviWriterSettings& settings, std::string& error)
{
    auto s = std::make_unique<State>();
    s->fd = std::move(fd);
    s->settings = settings;
    s->spec = FindEncoderSpec(settings.code);
    if (!s->spec) {
        error = "no compressor " + FourCCText(settings.code) + " in this build";
        return nullptr;
    }
    EncoderParameters parameters{settings.width, settings.height, settings.fps, settings.keyFrameEvery,
                                 settings.quality, true};
    s->encoder = OpenEncoder(*s->spec, parameters, error);
    if (!s->encoder)
        return nullptr;

    s->frame = av_frame_alloc();
    s->packet = av_packet_alloc();
    if (!s->frame || !s->packet) {
        error = "out of memory";
        return nullptr;
    }
    s->frame->format = s->spec->format;
    s->frame->width = settings.width;
    s->frame->height = settings.height;
    if (int r = av_frame_get_buffer(s->frame, 0); r < 0) {
        error = "no memory for a frame: " + AvError(r);
        return nullptr;
    }
    // Our pixels are B, G, R, A in memory with an opaque alpha; as BGRA (not
    // BGR0) swscale converts them with its SIMD code, some three times faster.
    // The size stays, so the filter only matters for the colour planes of
    // 4:2:0 compressors; the fast bilinear one costs a tenth less in all.
    s->scaler = sws_getContext(settings.width, settings.height, AV_PIX_FMT_BGRA, settings.width, settings.height,
                               s->spec->format, SWS_FAST_BILINEAR, nullptr, nullptr, nullptr);
    if (!s->scaler) {
        error = "cannot convert frames for the compressor";
        return nullptr;
    }

    if (int r = avformat_alloc_output_context2(&s->format, nullptr, "avi", nullptr); r < 0 || !s->format) {
        error = "this FFmpeg cannot write AVI files: " + AvError(r);
        return nullptr;
    }
    auto* buffer = static_cast<uint8_t*>(av_malloc(kIoBufferBytes));
    if (!buffer) {
        error = "out of memory";
        return nullptr;
    }
    s->io = avio_alloc_context(buffer, kIoBufferBytes, 1, s.get(), nullptr, &State::WriteCallback,
                               &State::SeekCallback);
    if (!s->io) {
        av_free(buffer);
        error = "out of memory";
        return nullptr;
    }
    s->format->pb = s->io;
    s->format->flags |= AVFMT_FLAG_CUSTOM_IO;
    s->stream = avformat_new_stream(s->format, nullptr);
    if (!s->stream) {
        error = "out of memory";
        return nullptr;
    }
    s->stream->time_base = s->encoder->time_base;
    s->stream->avg_frame_rate = s->encoder->framerate;
    avcodec_parameters_from_context(s->stream->codecpar, s->encoder.get());
    s->stream->codecpar->codec_tag = s->spec->rawBottomUp ? 0 : s->spec->code;

    AVDictionary* options = nullptr;
    if (s->spec->rawBottomUp)
        av_dict_set(&options, "flipped_raw_rgb", "1", 0);
    const int r = avformat_write_header(s->format, &options);
    av_dict_free(&options);
    if (r < 0) {
        error = "cannot write the AVI header: " + AvError(r);
        return nullptr;
    }
    avio_flush(s->io);
    if (s->io->error < 0) {
        error = "cannot write the AVI header: " + AvError(s->io->error);
        return nullptr;
    }
    s->fields = LocateAviHeaderFields(s->header);
    return std::unique_ptr<AviFileWriter>(new AviFileWriter(std::move(s)));
}

bool AviFileWriter::Send(const AVFrame* frame, std::string& error)
{
    State& s = *m_state;
    int r = avcodec_send_frame(s.encoder.get(), frame);
    if (r < 0 && r != AVERROR_EOF) {
        error = "the compressor failed: " + AvError(r);
        return false;
    }
    for (;;) {
        r = avcodec_receive_packet(s.encoder.get(), s.packet);
        if (r == AVERROR(EAGAIN) || r == AVERROR_EOF)
            break;
        if (r < 0) {
            error = "the compressor failed: " + AvError(r);
            return false;
        }
        s.packet->stream_index = 0;
        s.packet->duration = 1;
        if (s.packet->dts == AV_NOPTS_VALUE)
            s.packet->dts = s.packet->pts;
        av_packet_rescale_ts(s.packet, s.encoder->time_base, s.stream->time_base);
        const int64_t dts = s.packet->dts;
        r = av_write_frame(s.format, s.packet);
        av_packet_unref(s.packet);
        if (r < 0 || s.io->error < 0) {
            error = "cannot write a frame: " + AvError(r < 0 ? r : s.io->error);
            return false;
        }
        s.frames = std::max<uint64_t>(s.frames, uint64_t(std::max<int64_t>(dts, 0)) + 1);
    }
    // Each frame goes to the file at once, so a process that dies loses none.
    avio_flush(s.io);
    if (s.io->error < 0) {
        error = "cannot write a frame: " + AvError(s.io->error);
        return false;
    }
    return true;
}

bool AviFileWriter::Write(const Bitmap& frame, int64_t position, std::string& error)
{
    State& s = *m_state;
    if (s.finished || frame.width != s.settings.width || frame.height != s.settings.height ||
        !frame.holdsAllPixels()) {
        error = "a frame of the wrong size reached the writer";
        return false;
    }
    if (int r = av_frame_make_writable(s.frame); r < 0) {
        error = "no memory for a frame: " + AvError(r);
        return false;
    }
    const int stride = frame.width * 4;
    const uint8_t* top = reinterpret_cast<const uint8_t*>(frame.pixels.data());
    // Uncompressed frames are stored bottom-up, as a DIB has them.
    const uint8_t* source[4] = {s.spec->rawBottomUp ? top + size_t(stride) * size_t(frame.height - 1) : top};
    const int strides[4] = {s.spec->rawBottomUp ? -stride : stride};
    sws_scale(s.scaler, source, strides, 0, frame.height, s.frame->data, s.frame->linesize);
    s.frame->pts = position;
    s.frame->quality = s.encoder->global_quality;
    s.frame->pict_type = AV_PICTURE_TYPE_NONE;
    if (!Send(s.frame, error))
        return false;
    if (s.frames >= s.nextCheckpoint) {
        s.nextCheckpoint = s.frames + uint64_t(std::max(s.settings.fps, 1));
        return Checkpoint(error);
    }
    return true;
}

bool AviFileWriter::Checkpoint(std::string& error)
{
    State& s = *m_state;
    if (!s.fields || s.finished)
        return true;
    avio_flush(s.io);
    for (const AviPatch& patch : AviProgressPatches(*s.fields, uint64_t(s.length), s.frames)) {
        const uint8_t bytes[4] = {uint8_t(patch.value), uint8_t(patch.value >> 8), uint8_t(patch.value >> 16),
                                  uint8_t(patch.value >> 24)};
        if (::pwrite(s.fd.get(), bytes, 4, off_t(patch.offset)) != 4) {
            error = std::string("cannot update the AVI header: ") + std::strerror(errno);
            return false;
        }
    }
    return true;
}

bool AviFileWriter::Finish(std::string& error)
{
    State& s = *m_state;
    if (s.finished)
        return true;
    bool ok = Send(nullptr, error);
    s.finished = true;
    if (int r = av_write_trailer(s.format); r < 0 && ok) {
        error = "cannot finish the AVI file: " + AvError(r);
        ok = false;
    }
    avio_flush(s.io);
    if (s.io->error < 0 && ok) {
        error = "cannot finish the AVI file: " + AvError(s.io->error);
        ok = false;
    }
    if (!s.fd.Close() && ok) {
        error = std::string("cannot finish the AVI file: ") + std::strerror(errno);
        ok = false;
    }
    return ok;
}

} // namespace vistrel::ffmpeg
