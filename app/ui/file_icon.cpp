#include "ui/file_icon.h"

#include "media/file_type_icon.h"

QPixmap fileIconPixmap(const QString& path, int edge)
{
    return QPixmap::fromImage(fileTypeIcon(path, edge));
}
