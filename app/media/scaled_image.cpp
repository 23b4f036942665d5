#include "scaled_image.h"

#include "native_path.h"

#include <QImageReader>

namespace {
// Decoding buffers above this are refused (a 30,000 x 30,000 PNG would need 3.6 GB).
constexpr int allocationLimitMiB = 256;
} // namespace

QImage readScaledImage(const QString& path, int edge, QString* error)
{
    if (edge <= 0) return {};
    const OpenablePath openable(path);
    QImageReader reader(openable.name());
    reader.setAllocationLimit(allocationLimitMiB);
    reader.setAutoTransform(true);
    const QSize size = reader.size();
    if (size.isValid() && (size.width() > edge || size.height() > edge))
        reader.setScaledSize(size.scaled(edge, edge, Qt::KeepAspectRatio).expandedTo({1, 1}));
    QImage image = reader.read();
    if (image.isNull()) {
        if (error) *error = reader.errorString();
        return {};
    }
    // Formats without a size in their header, or that ignore the scaled size.
    if (image.width() > edge || image.height() > edge)
        image = image.scaled(edge, edge, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    return image;
}
