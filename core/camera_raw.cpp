#include "camera_raw.h"

#include "native_path.h"

#include <QFile>
#include <QSet>
#include <libraw/libraw.h>
#include <memory>

bool isCameraRawExtension(const QString& extension)
{
    static const QSet<QString> extensions = {
        QStringLiteral("dng"), QStringLiteral("raw"), QStringLiteral("cr2"), QStringLiteral("cr3"),
        QStringLiteral("crw"), QStringLiteral("nef"), QStringLiteral("nrw"), QStringLiteral("arw"),
        QStringLiteral("srf"), QStringLiteral("sr2"), QStringLiteral("orf"), QStringLiteral("rw2"),
        QStringLiteral("raf"), QStringLiteral("pef"), QStringLiteral("srw"), QStringLiteral("x3f"),
        QStringLiteral("3fr"), QStringLiteral("erf"), QStringLiteral("kdc"), QStringLiteral("mrw"),
        QStringLiteral("iiq"), QStringLiteral("rwl")};
    return extensions.contains(extension);
}

QSize cameraRawSize(const QString& path)
{
    // The processor holds large tables; it lives on the heap, not the stack.
    const auto raw = std::make_unique<LibRaw>();
    raw->set_dataerror_handler([](void*, const char*, int) {}, nullptr);
    if (raw->open_file(nativePath(path).constData()) != LIBRAW_SUCCESS) return {};
    const libraw_image_sizes_t& sizes = raw->imgdata.sizes;
    if (sizes.width == 0 || sizes.height == 0) return {};
    QSize size(sizes.width, sizes.height);
    // Flip codes 5 and 6 turn the picture by a quarter.
    if (sizes.flip & 4) size.transpose();
    return size;
}
