#pragma once

#include <QByteArray>
#include <QImage>
#include <QStringList>
#include <optional>

// The renderer's answers as bytes: a picture as its size and ARGB32 rows, text
// as UTF-8 pages apart by NUL. Decoding checks the bytes, which come from a
// process that read a hostile file.
QByteArray encodePicture(const QImage& image);
// Null for bytes that hold no whole picture.
QImage decodePicture(const QByteArray& bytes);
QByteArray encodePages(const QStringList& pages);
QStringList decodePages(const QByteArray& bytes);
