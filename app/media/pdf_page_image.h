#pragma once

#include <QImage>
#include <QString>
#include <QStringList>

// The first page of the PDF at `path` rendered to fit an edge-by-edge square.
// Null for a file that is not a readable PDF, or one that needs a password.
QImage renderPdfFirstPage(const QString& path, int edge);

// Page `page` (from 0) as a scanner would have read it: at 300 dpi, or less
// when that would make it longer than `edge`. Null as above, or for no such page.
QImage renderPdfScannedPage(const QString& path, int page, int edge);

// The text layer of each page; empty for a document that can't be read.
QStringList readPdfTextLayer(const QString& path);

// Poppler reports each unreadable document on stderr; these go to the
// thumbnails' debug log instead, since a failed PDF already shows as its icon.
void routePdfMessages();
