#pragma once

#include <QColor>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QString>

// A folder like a person's home: a few hundred pictures, notes, archives and
// subfolders, some with long names.
inline int makeHomeLikeFolder(const QString& path, int pictures = 60, int others = 240)
{
    QDir dir(path);
    int made = 0;
    const QString longPart =
        QStringLiteral("holiday photos from the summer at the lake with the whole family");
    for (int i = 0; i < pictures; ++i) {
        QImage image(96, 64, QImage::Format_RGB32);
        image.fill(QColor::fromHsv((i * 37) % 360, 160, 220));
        QPainter(&image).fillRect(12, 12, 40, 24, Qt::white);
        const QString name = i % 7 == 0 ? QStringLiteral("%1 %2.png").arg(longPart).arg(i)
                                        : QStringLiteral("IMG_%1.png").arg(1000 + i);
        if (image.save(dir.filePath(name))) ++made;
    }
    const char* extensions[] = {"txt", "pdf", "zip", "mp3", "odt", "md"};
    for (int i = 0; i < others; ++i) {
        const QString ext = QString::fromLatin1(extensions[i % 6]);
        const QString name = i % 11 == 0
                                 ? QStringLiteral("A very long document name that keeps going "
                                                  "and going past any tile %1.%2")
                                       .arg(i)
                                       .arg(ext)
                                 : QStringLiteral("file %1.%2").arg(i, 3, 10, QChar(u'0')).arg(ext);
        QFile file(dir.filePath(name));
        if (!file.open(QIODevice::WriteOnly)) continue;
        file.write(QByteArray(100 + i * 37, 'q'));
        ++made;
    }
    for (const char* folder : {"Desktop", "Documents", "Downloads", "Music", "Pictures", "Projects",
                               "Videos", "Templates"})
        if (dir.mkdir(QString::fromLatin1(folder))) ++made;
    return made;
}
