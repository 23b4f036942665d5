#include "media/scaled_image.h"

#include "camera_raw.h"
#include "file_entry.h"
#include "media/camera_raw_preview.h"
#include "media/heif_picture.h"
#include "native_path.h"
#include "regular_file.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QImageReader>

namespace {
// Decoding buffers above this are refused (a 30,000 x 30,000 PNG would need 3.6 GB).
constexpr int allocationLimitMiB = 256;

QImage readWithQt(QImageReader& reader, int edge, QString* error)
{
    reader.setAllocationLimit(allocationLimitMiB);
    const QSize size = reader.size();
    // Qt's reduced-size PNG decoding reads palette pixels as if they were
    // 32-bit ones and gives noise; those decode whole and are scaled after.
    const QImage::Format stored = reader.imageFormat();
    const bool palette = stored == QImage::Format_Mono || stored == QImage::Format_MonoLSB ||
                         stored == QImage::Format_Indexed8;
    if (!palette && size.isValid() && (size.width() > edge || size.height() > edge))
        reader.setScaledSize(size.scaled(edge, edge, Qt::KeepAspectRatio).expandedTo({1, 1}));
    QImage image = reader.read();
    if (image.isNull() && error) *error = reader.errorString();
    // Formats without a size in their header, or that ignore the scaled size.
    return fitInSquare(std::move(image), edge);
}
} // namespace

QString notRegularFileMessage()
{
    return QCoreApplication::translate("ScaledImage",
                                       "It isn\u2019t a regular file, so it can\u2019t be read.");
}

QImage fitInSquare(QImage image, int edge)
{
    if (image.isNull() || (image.width() <= edge && image.height() <= edge)) return image;
    // Smooth scaling of palette or 1-bit pixels goes through 32 bits anyway; a
    // big one is thinned out in its own format first, so that copy stays small.
    const bool palette = image.format() == QImage::Format_Mono ||
                         image.format() == QImage::Format_MonoLSB ||
                         image.format() == QImage::Format_Indexed8;
    if (palette && (image.width() > 2 * edge || image.height() > 2 * edge))
        image = image.scaled(2 * edge, 2 * edge, Qt::KeepAspectRatio, Qt::FastTransformation);
    if (image.format() != QImage::Format_ARGB32 && image.format() != QImage::Format_RGB32)
        image = image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32
                                                              : QImage::Format_RGB32);
    return image.scaled(edge, edge, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

QImage readScaledImage(QIODevice* device, int edge, QString* error)
{
    if (edge <= 0) return {};
    QImageReader reader(device);
    reader.setAutoTransform(false);
    return readWithQt(reader, edge, error);
}

QImage readScaledImage(const QString& path, int edge, QString* error)
{
    if (edge <= 0) return {};
    if (!isRegularFile(path)) {
        if (error) *error = notRegularFileMessage();
        return {};
    }
    // A DNG is also a TIFF whose first picture is a small preview.
    if (isCameraRawExtension(extensionOf(QFileInfo(path).fileName())))
        if (QImage raw = readCameraRawPreview(path, edge); !raw.isNull()) return raw;
    const OpenablePath openable(path);
    QImageReader reader(openable.name());
    reader.setAutoTransform(true);
    if (QImage image = readWithQt(reader, edge, error); !image.isNull()) return image;
    // Qt reads no HEIC or AVIF; phones also save those under other names.
    if (QImage heif = readHeifPicture(path, edge); !heif.isNull()) return heif;
    return {};
}
