#pragma once

#include <QPixmap>
#include <QString>

// The theme icon of the file's type at `edge` pixels (GUI thread).
QPixmap fileIconPixmap(const QString& path, int edge);
