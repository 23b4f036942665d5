#pragma once

#include "event_loop.h"

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
// Runs ImageMagick's convert with the given arguments; fails the test on error.
void runConvert(const QStringList& arguments);
// A one-page PDF with the lines as its text layer; `extra` are options of mkpdf.py.
void makePdf(const QString& path, const QStringList& lines, const QStringList& extra = {});

// `image` saved as HEIC (heif-enc) or AVIF (ffmpeg's AV1 encoder), by the
// extension of `path`; heif-enc's own AVIF output trips an assertion in Debian 12's libaom.
void saveHeif(const QImage& image, const QString& path);
// A camera raw file (mkdng.py): an 80 x 60 mosaic with a 40 x 30 red preview.
void makeDng(const QString& path, const QStringList& extra = {});

// A PDF without a text layer, as a scanner makes: each page only a picture of
// its lines (textPicture), at 300 dpi on an A6 sheet.
void makeScannedPdf(const QString& path, const QList<QStringList>& pages);

// A one-page PDF whose compressed content stream unpacks to `rectangles`
// filled rectangles: small on disk, minutes of drawing for a renderer.
QByteArray drawingBombPdf(int rectangles);

// Mean colour of a rectangle of an image.
QColor meanColor(const QImage& image, const QRect& area);

// Renders run in child processes, slow on a loaded machine: a minute.
inline bool waitLong(const std::function<bool()>& done)
{
    return waitFor(done, 60000);
}
