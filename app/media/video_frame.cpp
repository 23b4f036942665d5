#include "media/video_frame.h"

#include "native_path.h"
#include "regular_file.h"

#include <QFile>
#include <QTransform>
#include <cmath>
#include <memory>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/display.h>
#include <libswscale/swscale.h>
}

namespace {

struct FormatClose {
    void operator()(AVFormatContext* context) const { avformat_close_input(&context); }
};
struct CodecFree {
    void operator()(AVCodecContext* context) const { avcodec_free_context(&context); }
};
struct PacketFree {
    void operator()(AVPacket* packet) const { av_packet_free(&packet); }
};
struct FrameFree {
    void operator()(AVFrame* frame) const { av_frame_free(&frame); }
};
struct ScalerFree {
    void operator()(SwsContext* context) const { sws_freeContext(context); }
};

// A damaged file must not keep a generation slot busy for long.
constexpr int maxPacketsRead = 4000;
constexpr int maxFramesAfterSeek = 48;

int interruptWhenCancelled(void* opaque)
{
    const auto* isCancelled = static_cast<const CancelCheck*>(opaque);
    return (*isCancelled && (*isCancelled)()) ? 1 : 0;
}

// Pixel size of the frame as shown, with non-square pixels taken into account.
QSize displaySize(const AVFrame& frame)
{
    QSize size(frame.width, frame.height);
    const AVRational aspect = frame.sample_aspect_ratio;
    if (aspect.num > 0 && aspect.den > 0 && aspect.num != aspect.den)
        size.setWidth(std::max(1, int(qint64(frame.width) * aspect.num / aspect.den)));
    return size;
}

QImage toImage(const AVFrame& frame, int edge)
{
    if (frame.width <= 0 || frame.height <= 0) return {};
    QSize target = displaySize(frame);
    if (target.width() > edge || target.height() > edge)
        target = target.scaled(edge, edge, Qt::KeepAspectRatio).expandedTo({1, 1});
    std::unique_ptr<SwsContext, ScalerFree> scaler(
        sws_getContext(frame.width, frame.height, AVPixelFormat(frame.format), target.width(),
                       target.height(), AV_PIX_FMT_RGB24, SWS_BICUBIC, nullptr, nullptr, nullptr));
    if (!scaler) return {};
    QImage image(target, QImage::Format_RGB888);
    if (image.isNull()) return {};
    uint8_t* planes[4] = {image.bits(), nullptr, nullptr, nullptr};
    const int strides[4] = {int(image.bytesPerLine()), 0, 0, 0};
    if (sws_scale(scaler.get(), frame.data, frame.linesize, 0, frame.height, planes, strides) <= 0)
        return {};
    return image;
}

// Clockwise degrees the stream asks players to turn its frames.
double rotationOf(const AVStream& stream)
{
    const uint8_t* matrix = av_stream_get_side_data(&stream, AV_PKT_DATA_DISPLAYMATRIX, nullptr);
    if (!matrix) return 0;
    const double degrees = -av_display_rotation_get(reinterpret_cast<const int32_t*>(matrix));
    return std::isnan(degrees) ? 0 : degrees;
}

} // namespace

QImage readVideoFrame(const QString& path, int edge, const CancelCheck& isCancelled)
{
    static const bool quiet = [] {
        av_log_set_level(AV_LOG_QUIET);
        return true;
    }();
    Q_UNUSED(quiet);
    if (edge <= 0 || !isRegularFile(path)) return {};

    AVFormatContext* opened = avformat_alloc_context();
    if (!opened) return {};
    opened->interrupt_callback = {interruptWhenCancelled, const_cast<CancelCheck*>(&isCancelled)};
    if (avformat_open_input(&opened, nativePath(path).constData(), nullptr, nullptr) < 0) return {};
    std::unique_ptr<AVFormatContext, FormatClose> format(opened);
    if (avformat_find_stream_info(format.get(), nullptr) < 0) return {};

    const AVCodec* decoder = nullptr;
    const int index = av_find_best_stream(format.get(), AVMEDIA_TYPE_VIDEO, -1, -1, &decoder, 0);
    if (index < 0 || !decoder) return {};
    AVStream* stream = format->streams[index];
    std::unique_ptr<AVCodecContext, CodecFree> codec(avcodec_alloc_context3(decoder));
    if (!codec || avcodec_parameters_to_context(codec.get(), stream->codecpar) < 0) return {};
    // Four generations share the cores; a frame needs no threads of its own.
    codec->thread_count = 1;
    if (avcodec_open2(codec.get(), decoder, nullptr) < 0) return {};

    // Cover art is one picture, not a timeline.
    const bool stillPicture = stream->disposition & AV_DISPOSITION_ATTACHED_PIC;
    qint64 target = AV_NOPTS_VALUE;
    if (!stillPicture && format->duration > 0) {
        qint64 position = format->duration / 10;
        if (format->start_time != AV_NOPTS_VALUE) position += format->start_time;
        if (av_seek_frame(format.get(), -1, position, AVSEEK_FLAG_BACKWARD) >= 0)
            target = av_rescale_q(position, AV_TIME_BASE_Q, stream->time_base);
    }

    std::unique_ptr<AVPacket, PacketFree> packet(av_packet_alloc());
    std::unique_ptr<AVFrame, FrameFree> decoded(av_frame_alloc());
    std::unique_ptr<AVFrame, FrameFree> frame(av_frame_alloc());
    if (!packet || !decoded || !frame) return {};
    // The seek lands on the key frame before the target; decode on to the
    // target, but not through a whole long group of pictures.
    int framesDecoded = 0;
    auto wanted = [&] {
        ++framesDecoded;
        // Receiving clears its frame, so the latest one is kept apart.
        av_frame_unref(frame.get());
        av_frame_move_ref(frame.get(), decoded.get());
        return target == AV_NOPTS_VALUE || framesDecoded >= maxFramesAfterSeek ||
               frame->best_effort_timestamp == AV_NOPTS_VALUE ||
               frame->best_effort_timestamp >= target;
    };
    bool done = false;
    for (int read = 0; !done && read < maxPacketsRead; ++read) {
        if (isCancelled && isCancelled()) return {};
        if (av_read_frame(format.get(), packet.get()) < 0) break;
        if (packet->stream_index == index && avcodec_send_packet(codec.get(), packet.get()) == 0)
            while (!done && avcodec_receive_frame(codec.get(), decoded.get()) == 0)
                done = wanted();
        av_packet_unref(packet.get());
    }
    if (!done && avcodec_send_packet(codec.get(), nullptr) == 0)
        while (!done && avcodec_receive_frame(codec.get(), decoded.get()) == 0)
            done = wanted();
    // At the end of the stream the last frame decoded is the nearest one.
    if (!done && framesDecoded == 0) return {};

    QImage image = toImage(*frame, edge);
    const double rotation = rotationOf(*stream);
    if (!image.isNull() && rotation != 0)
        image = image.transformed(QTransform().rotate(rotation), Qt::SmoothTransformation);
    return image;
}
