#include "media_metadata_reader.h"

#include "camera_raw.h"
#include "heif_image.h"
#include "native_path.h"
#include "regular_file.h"

#include <QFile>
#include <QImageIOHandler>
#include <QImageReader>
#include <climits>
#include <cmath>

extern "C" {
#include <libavformat/avformat.h>
#include <libavutil/display.h>
}

namespace {

MediaMetadata pictureOfSize(const QSize& size)
{
    return size.isValid() ? MediaMetadata{size.width(), size.height(), std::nullopt}
                          : MediaMetadata{};
}

MediaMetadata imageMetadata(const FileEntry& file)
{
    const QString& path = file.path;
    // A DNG is also a TIFF whose first picture is the small preview.
    if (isCameraRawExtension(file.ext()))
        if (const QSize raw = cameraRawSize(path); raw.isValid()) return pictureOfSize(raw);
    const OpenablePath openable(path);
    QImageReader reader(openable.name());
    reader.setAutoTransform(false);
    const QSize stored = reader.size(); // header only, nothing decoded
    // Qt reads no HEIC or AVIF; phones also save those under other names.
    if (!stored.isValid()) return pictureOfSize(heifImageSize(path));
    // EXIF codes 5 to 8 turn the picture by a quarter.
    const bool quarterTurn = reader.transformation() & QImageIOHandler::TransformationRotate90;
    return quarterTurn ? MediaMetadata{stored.height(), stored.width(), std::nullopt}
                       : MediaMetadata{stored.width(), stored.height(), std::nullopt};
}

struct FormatContext {
    AVFormatContext* context = nullptr;
    ~FormatContext()
    {
        if (context) avformat_close_input(&context);
    }
};

// The displayed size of a stream: the stored size with its display matrix applied.
QSize displayedSize(const AVStream* stream)
{
    const double width = stream->codecpar->width, height = stream->codecpar->height;
    size_t size = 0;
    const uint8_t* data = av_stream_get_side_data(stream, AV_PKT_DATA_DISPLAYMATRIX, &size);
    if (!data || size < 9 * sizeof(int32_t)) return QSize(int(width), int(height));
    const auto* matrix = reinterpret_cast<const int32_t*>(data);
    // The 2x2 part is 16.16 fixed point: a, b / c, d.
    const double a = matrix[0] / 65536.0, b = matrix[1] / 65536.0;
    const double c = matrix[3] / 65536.0, d = matrix[4] / 65536.0;
    // The bounding box of the turned frame.
    const double shownWidth = std::fabs(a * width) + std::fabs(c * height);
    const double shownHeight = std::fabs(b * width) + std::fabs(d * height);
    if (!std::isfinite(shownWidth) || !std::isfinite(shownHeight) || shownWidth > INT_MAX ||
        shownHeight > INT_MAX)
        return {};
    return QSize(int(shownWidth), int(shownHeight));
}

MediaMetadata avMetadata(const QString& path)
{
    FormatContext input;
    av_log_set_level(AV_LOG_QUIET);
    if (avformat_open_input(&input.context, nativePath(path).constData(), nullptr, nullptr) < 0)
        return {};
    // Stream parameters only; probing may read a few packets but decodes nothing for display.
    if (avformat_find_stream_info(input.context, nullptr) < 0) return {};
    MediaMetadata metadata;
    if (input.context->duration != AV_NOPTS_VALUE && input.context->duration >= 0)
        metadata.duration = input.context->duration / double(AV_TIME_BASE);
    for (unsigned i = 0; i < input.context->nb_streams; ++i) {
        const AVStream* stream = input.context->streams[i];
        if (stream->codecpar->codec_type != AVMEDIA_TYPE_VIDEO) continue;
        // Cover art in audio files is a picture, not a video track.
        if (stream->disposition & AV_DISPOSITION_ATTACHED_PIC) continue;
        const QSize shown = displayedSize(stream);
        metadata.width = shown.width();
        metadata.height = shown.height();
        break;
    }
    return metadata;
}

} // namespace

MediaMetadata MediaMetadataReader::readNow(const FileEntry& file)
{
    // A pipe or device named like a picture would hang the reader.
    if (file.mediaKind != MediaKind::Document && file.mediaKind != MediaKind::Other &&
        !isRegularFile(file.path))
        return {};
    switch (file.mediaKind) {
    case MediaKind::Image:
        return imageMetadata(file);
    case MediaKind::Video:
    case MediaKind::Audio:
        return avMetadata(file.path);
    case MediaKind::Document:
    case MediaKind::Other:
        break;
    }
    return {};
}

QFuture<MediaMetadata> MediaMetadataReader::read(const FileEntry& file)
{
    return executor_.run([file](const CancelCheck&) { return readNow(file); });
}
