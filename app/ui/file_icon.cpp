#include "file_icon.h"

#include "file_type_icon.h"

QPixmap fileIconPixmap(const QString& path, int edge)
{
    return QPixmap::fromImage(fileTypeIcon(path, edge));
}
