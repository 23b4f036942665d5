#pragma once

#include "file_entry.h"

#include <QImage>
#include <QString>

// The thumbnails other desktop programs already made, in the shared freedesktop
// cache: <root>/{normal,large,x-large,xx-large}/MD5(file URI).png.
class FreedesktopThumbnails {
public:
    // `root` defaults to the user's cache folder's "thumbnails".
    explicit FreedesktopThumbnails(QString root = defaultRoot());
    static QString defaultRoot();

    // The smallest stored thumbnail at least `edge` pixels big whose recorded
    // modification time matches the file's, scaled to fit; null when there is none.
    QImage find(const FileEntry& file, int edge) const;

    // Where the thumbnail of `path` would be stored in the folder `size`.
    QString pathFor(const QString& path, const QString& size) const;

private:
    QString root_;
};
