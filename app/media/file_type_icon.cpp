#include "media/file_type_icon.h"

#include <QGuiApplication>
#include <QHash>
#include <QIcon>
#include <QMimeDatabase>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

QIcon themeIcon(const QMimeType& type)
{
    for (const QString& name :
         {type.iconName(), type.genericIconName(), QStringLiteral("application-x-generic"),
          QStringLiteral("text-x-generic")}) {
        if (name.isEmpty()) continue;
        const QIcon icon = QIcon::fromTheme(name);
        if (!icon.isNull()) return icon;
    }
    return {};
}

// A sheet with a folded corner, for when no theme is installed.
QImage drawnPage(int edge)
{
    QImage image(edge, edge, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal width = edge * 0.7, height = edge * 0.9, fold = edge * 0.2;
    const qreal left = (edge - width) / 2, top = (edge - height) / 2;
    QPainterPath sheet;
    sheet.moveTo(left, top);
    sheet.lineTo(left + width - fold, top);
    sheet.lineTo(left + width, top + fold);
    sheet.lineTo(left + width, top + height);
    sheet.lineTo(left, top + height);
    sheet.closeSubpath();
    painter.setPen(QPen(QColor(120, 120, 120), std::max(1.0, edge / 64.0)));
    painter.setBrush(QColor(245, 245, 245));
    painter.drawPath(sheet);
    return image;
}

} // namespace

QImage fileTypeIcon(const QString& path, int edge)
{
    if (edge <= 0) return {};
    static const QMimeDatabase database;
    const QMimeType type = database.mimeTypeForFile(path);
    // Rendering a theme icon (often an SVG) takes milliseconds; a view full of
    // files of a few types asks for the same handful again and again.
    static QHash<QPair<QString, int>, QImage> rendered;
    const QPair<QString, int> key(type.name(), edge);
    if (auto found = rendered.constFind(key); found != rendered.constEnd()) return *found;
    QImage image;
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        const QIcon icon = themeIcon(type);
        const QPixmap pixmap = icon.isNull() ? QPixmap() : icon.pixmap(QSize(edge, edge));
        if (!pixmap.isNull()) image = pixmap.toImage();
    }
    if (image.isNull()) image = drawnPage(edge);
    if (rendered.size() > 256) rendered.clear();
    rendered.insert(key, image);
    return image;
}
