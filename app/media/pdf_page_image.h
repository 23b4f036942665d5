#pragma once

#include <QImage>
#include <QString>

// The first page of the PDF at `path` rendered to fit an edge-by-edge square.
// Null for a file that is not a readable PDF, or one that needs a password.
QImage renderPdfFirstPage(const QString& path, int edge);
