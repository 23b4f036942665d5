#include "media/freedesktop_thumbnails.h"

#include "native_path.h"
#include "regular_file.h"

#include <QCryptographicHash>
#include <QFile>
#include <QImageReader>
#include <QStandardPaths>
#include <QUrl>

namespace {
struct SizeFolder {
    const char* name;
    int edge;
};
constexpr SizeFolder sizeFolders[] = {
    {"normal", 128}, {"large", 256}, {"x-large", 512}, {"xx-large", 1024}};

quint32 bigEndian32(const char* bytes)
{
    const auto* b = reinterpret_cast<const uchar*>(bytes);
    return quint32(b[0]) << 24 | quint32(b[1]) << 16 | quint32(b[2]) << 8 | b[3];
}

// The value of a tEXt chunk before the pixel data. Qt's own text reading
// splits keys at ':', which loses "Thumb::MTime".
QByteArray pngText(QIODevice& file, QByteArrayView key)
{
    if (file.read(8) != QByteArrayView("\x89PNG\r\n\x1a\n", 8)) return {};
    for (int chunk = 0; chunk < 64; ++chunk) {
        const QByteArray head = file.read(8);
        if (head.size() != 8) return {};
        const quint32 length = bigEndian32(head.constData());
        const QByteArrayView type(head.constData() + 4, 4);
        if (type == "IDAT" || type == "IEND" || length > 1 << 20) return {};
        if (type != "tEXt") {
            if (!file.skip(qint64(length) + 4)) return {};
            continue;
        }
        const QByteArray data = file.read(length);
        if (data.size() != qsizetype(length) || !file.skip(4)) return {};
        const qsizetype separator = data.indexOf('\0');
        if (separator >= 0 && QByteArrayView(data.constData(), separator) == key)
            return data.mid(separator + 1);
    }
    return {};
}

} // namespace

FreedesktopThumbnails::FreedesktopThumbnails(QString root) : root_(std::move(root)) {}

QString FreedesktopThumbnails::defaultRoot()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) +
           QStringLiteral("/thumbnails");
}

QString FreedesktopThumbnails::pathFor(const QString& path, const QString& size) const
{
    const QByteArray uri = urlForPath(path).toEncoded();
    const QByteArray hash = QCryptographicHash::hash(uri, QCryptographicHash::Md5).toHex();
    return root_ + u'/' + size + u'/' + QString::fromLatin1(hash) + QStringLiteral(".png");
}

QImage FreedesktopThumbnails::find(const FileEntry& file, int edge) const
{
    if (edge <= 0 || !file.modified.isValid()) return {};
    const QByteArray mtime = QByteArray::number(file.modified.toSecsSinceEpoch());
    for (const SizeFolder& folder : sizeFolders) {
        if (folder.edge < edge) continue;
        QFile png(pathFor(file.path, QString::fromLatin1(folder.name)));
        if (!isRegularFile(png.fileName()) || !png.open(QIODevice::ReadOnly)) continue;
        // A thumbnail of an older version of the file is stale.
        if (pngText(png, "Thumb::MTime").trimmed() != mtime) continue;
        png.seek(0);
        QImageReader reader(&png, "png");
        QImage image = reader.read();
        if (image.isNull()) continue;
        if (image.width() > edge || image.height() > edge)
            image = image.scaled(edge, edge, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        return image;
    }
    return {};
}
