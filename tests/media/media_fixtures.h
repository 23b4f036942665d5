#pragma once

#include <QColor>
#include <QImage>
#include <QString>
#include <QStringList>
#include <functional>

// Real media files for the tests, made with Qt and the command-line tools.

// Left half `left`, right half `right`; saved in the format of the name's extension.
QImage halvesPicture(int width, int height, const QColor& left, const QColor& right);
void savePicture(const QImage& image, const QString& path, int quality = 90);
// Writes the EXIF orientation tag with the exiv2 tool.
void setExifOrientation(const QString& path, int orientation);
// Black text on white, one line per entry, in large type.
QImage textPicture(const QStringList& lines);
// Runs ffmpeg with the given arguments (the output path last); fails the test on error.
void runFfmpeg(const QStringList& arguments);
// A one-page PDF with the lines as its text layer; `extra` are options of mkpdf.py.
void makePdf(const QString& path, const QStringList& lines, const QStringList& extra = {});

// Mean colour of a rectangle of an image.
QColor meanColor(const QImage& image, const QRect& area);

// Processes events until `done` holds or a minute passes; returns `done()`.
bool waitFor(const std::function<bool()>& done);
