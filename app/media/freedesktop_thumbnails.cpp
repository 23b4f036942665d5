#include "freedesktop_thumbnails.h"

#include <QCryptographicHash>
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
} // namespace

FreedesktopThumbnails::FreedesktopThumbnails(QString root) : root_(std::move(root)) {}

QString FreedesktopThumbnails::defaultRoot()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) +
           QStringLiteral("/thumbnails");
}

QString FreedesktopThumbnails::pathFor(const QString& path, const QString& size) const
{
    const QByteArray uri = QUrl::fromLocalFile(path).toEncoded();
    const QByteArray hash = QCryptographicHash::hash(uri, QCryptographicHash::Md5).toHex();
    return root_ + u'/' + size + u'/' + QString::fromLatin1(hash) + QStringLiteral(".png");
}

QImage FreedesktopThumbnails::find(const FileEntry& file, int edge) const
{
    if (edge <= 0 || !file.modified.isValid()) return {};
    const QString mtime = QString::number(file.modified.toSecsSinceEpoch());
    for (const SizeFolder& folder : sizeFolders) {
        if (folder.edge < edge) continue;
        QImageReader reader(pathFor(file.path, QString::fromLatin1(folder.name)), "png");
        // A thumbnail of an older version of the file is stale.
        if (reader.text(QStringLiteral("Thumb::MTime")).trimmed() != mtime) continue;
        QImage image = reader.read();
        if (image.isNull()) continue;
        if (image.width() > edge || image.height() > edge)
            image = image.scaled(edge, edge, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        return image;
    }
    return {};
}
