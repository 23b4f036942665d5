#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QUrl>

// File names on Linux are bytes, not text. A path travels through the program
// as a QString in which every byte that isn't part of valid UTF-8 is kept as
// the lone surrogate U+DC80 + byte, so the exact bytes come back at every
// system call. Valid UTF-8 never decodes to such a surrogate, so nothing clashes.

// The path a directory entry, argument or system call gave, decoded losslessly.
QString decodePath(QByteArrayView native);
// The bytes to hand to the system for a path made by decodePath (or typed text).
QByteArray nativePath(QStringView path);
// True when the path holds bytes that aren't UTF-8 text.
bool hasUndecodableBytes(QStringView path);
// The path with each undecodable byte shown as U+FFFD, for places that need
// valid Unicode (JSON text, the clipboard's plain text).
QString readablePath(QStringView path);

// file:// URLs that carry the exact bytes (percent-encoded).
QUrl urlForPath(const QString& path);
QString pathForUrl(const QUrl& url);

// The working folder, decoded losslessly.
QString currentFolder();

// A name for libraries that take a QString and encode it themselves (QFile,
// QImageReader, Poppler), which would lose undecodable bytes: the path itself
// when it is plain text, else /proc/self/fd/N of a descriptor held while this
// object lives. Empty when the item can't be found.
class OpenablePath {
public:
    explicit OpenablePath(const QString& path);
    ~OpenablePath();
    OpenablePath(const OpenablePath&) = delete;
    OpenablePath& operator=(const OpenablePath&) = delete;

    const QString& name() const { return name_; }

private:
    int fd_ = -1;
    QString name_;
};
