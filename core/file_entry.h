#pragma once

#include "media_kind.h"
#include "native_path.h"

#include <QDateTime>
#include <QHashFunctions>
#include <QList>
#include <QMetaType>
#include <QString>
#include <QUrl>
#include <functional>

struct stat;

// One file or folder. The core works with absolute local paths; `url()` gives
// the file URL at the edges that need one.
struct FileEntry {
    QString path;
    QString name;
    bool isDirectory = false;
    qint64 size = 0;
    QDateTime modified;
    MediaKind mediaKind = MediaKind::Other;

    FileEntry() = default;

    // From a live file; throws FileError when its properties cannot be read.
    // A symbolic link describes its target, or the link itself when the target
    // is gone, unreachable or a loop.
    static FileEntry fromPath(const QString& path);
    static FileEntry fromUrl(const QUrl& url);

    // From values the file index already supplied; the file is not touched.
    static FileEntry indexed(const QString& path, qint64 size, const QDateTime& modified,
                             bool isDirectory);

    // From a stat result the caller already has (the walkers use this).
    static FileEntry fromStat(QString path, QString name, const struct stat& st);

    // The media kind of a lower-case extension without the dot.
    static MediaKind classify(const QString& ext, bool isDirectory);

    QUrl url() const { return urlForPath(path); }
    const QString& id() const { return path; }
    // Lower-case extension of the name, empty when it has none.
    QString ext() const;

    friend bool operator==(const FileEntry&, const FileEntry&) = default;
};

size_t qHash(const FileEntry& entry, size_t seed = 0);

// The extension of a file name as the entry computes it: after the last dot,
// not counting a leading dot; empty for "archive." or ".profile".
QString extensionOf(QStringView name);

// Every member moves by its bytes, so a growing list of a million entries
// reallocates instead of moving each one.
Q_DECLARE_TYPEINFO(FileEntry, Q_RELOCATABLE_TYPE);

template <> struct std::hash<FileEntry> {
    size_t operator()(const FileEntry& entry) const { return qHash(entry); }
};

Q_DECLARE_METATYPE(FileEntry)
