#include "media/render_answer.h"

#include <cstring>

namespace {

struct PictureHeader {
    qint32 width = 0;
    qint32 height = 0;
};

} // namespace

QByteArray encodePicture(const QImage& picture)
{
    const QImage image = picture.convertToFormat(QImage::Format_ARGB32);
    const PictureHeader header{image.width(), image.height()};
    QByteArray bytes(reinterpret_cast<const char*>(&header), sizeof header);
    bytes.reserve(qsizetype(sizeof header) + qsizetype(image.width()) * image.height() * 4);
    for (int y = 0; y < image.height(); ++y)
        bytes.append(reinterpret_cast<const char*>(image.constScanLine(y)),
                     qsizetype(image.width()) * 4);
    return bytes;
}

QImage decodePicture(const QByteArray& bytes)
{
    if (bytes.size() < qsizetype(sizeof(PictureHeader))) return {};
    PictureHeader header;
    std::memcpy(&header, bytes.constData(), sizeof header);
    if (header.width <= 0 || header.height <= 0 ||
        bytes.size() != qsizetype(sizeof header) + qsizetype(header.width) * header.height * 4)
        return {};
    QImage image(header.width, header.height, QImage::Format_ARGB32);
    if (image.isNull()) return {};
    const char* pixels = bytes.constData() + sizeof header;
    for (int y = 0; y < header.height; ++y)
        std::memcpy(image.scanLine(y), pixels + qsizetype(y) * header.width * 4,
                    size_t(header.width) * 4);
    return image;
}

QByteArray encodePages(const QStringList& pages)
{
    return pages.join(QChar::Null).toUtf8();
}

QStringList decodePages(const QByteArray& bytes)
{
    return QString::fromUtf8(bytes).split(QChar::Null);
}
