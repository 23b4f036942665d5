#include "media/camera_raw_preview.h"

#include "media/scaled_image.h"
#include "native_path.h"

#include <QBuffer>
#include <QFile>
#include <QTransform>
#include <libraw/libraw.h>
#include <memory>

namespace {
struct ProcessedFree {
    void operator()(libraw_processed_image_t* image) const { LibRaw::dcraw_clear_mem(image); }
};
using Processed = std::unique_ptr<libraw_processed_image_t, ProcessedFree>;

QImage toImage(const Processed& processed, int edge)
{
    if (!processed) return {};
    if (processed->type == LIBRAW_IMAGE_JPEG) {
        QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(processed->data),
                                                   qsizetype(processed->data_size));
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        return readScaledImage(&buffer, edge);
    }
    if (processed->type != LIBRAW_IMAGE_BITMAP || processed->bits != 8) return {};
    const int width = processed->width, height = processed->height;
    const int colors = processed->colors;
    if (width <= 0 || height <= 0 || (colors != 1 && colors != 3) ||
        qint64(width) * height * colors > qint64(processed->data_size))
        return {};
    const QImage wrapped(processed->data, width, height, qsizetype(width) * colors,
                         colors == 3 ? QImage::Format_RGB888 : QImage::Format_Grayscale8);
    return fitInSquare(wrapped.convertToFormat(QImage::Format_RGB32), edge);
}

// LibRaw's flip codes: 3 upside down, 5 a quarter left, 6 a quarter right.
QImage turned(const QImage& image, int flip)
{
    const int degrees = flip == 3 ? 180 : flip == 5 ? 270 : flip == 6 ? 90 : 0;
    return degrees == 0 ? image : image.transformed(QTransform().rotate(degrees));
}
} // namespace

QImage readCameraRawPreview(const QString& path, int edge)
{
    if (edge <= 0) return {};
    // The processor holds large tables; it lives on the heap, not the stack.
    const auto raw = std::make_unique<LibRaw>();
    raw->set_dataerror_handler([](void*, const char*, int) {}, nullptr);
    if (raw->open_file(nativePath(path).constData()) != LIBRAW_SUCCESS) return {};
    int error = 0;
    if (raw->unpack_thumb() == LIBRAW_SUCCESS) {
        const Processed preview(raw->dcraw_make_mem_thumb(&error));
        // Embedded previews are stored as the sensor lies, not as the camera was held.
        if (QImage image = toImage(preview, edge); !image.isNull())
            return turned(image, raw->imgdata.sizes.flip);
    }
    // No usable preview: develop the raw data at half size, turned by LibRaw itself.
    raw->imgdata.params.half_size = 1;
    raw->imgdata.params.use_camera_wb = 1;
    if (raw->unpack() != LIBRAW_SUCCESS || raw->dcraw_process() != LIBRAW_SUCCESS) return {};
    return toImage(Processed(raw->dcraw_make_mem_image(&error)), edge);
}
