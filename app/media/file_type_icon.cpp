#include "media/file_type_icon.h"

#include <QGuiApplication>
#include <QHash>
#include <QIcon>
#include <QMimeDatabase>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

QIcon themeIcon(const QStringList& iconNames)
{
    for (const QString& name : iconNames) {
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

QStringList typeIconNames(const QString& path)
{
    const QMimeType type = QMimeDatabase().mimeTypeForFile(path);
    return {type.iconName(), type.genericIconName(), QStringLiteral("application-x-generic"),
            QStringLiteral("text-x-generic")};
}

QImage typeIcon(const QStringList& iconNames, int edge)
{
    if (edge <= 0) return {};
    // Rendering a theme icon (often an SVG) takes milliseconds; a view full of
    // files of a few types asks for the same handful again and again.
    static QHash<QPair<QStringList, int>, QImage> rendered;
    const QPair<QStringList, int> key(iconNames, edge);
    if (auto found = rendered.constFind(key); found != rendered.constEnd()) return *found;
    QImage image;
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        const QIcon icon = themeIcon(iconNames);
        const QPixmap pixmap = icon.isNull() ? QPixmap() : icon.pixmap(QSize(edge, edge));
        if (!pixmap.isNull()) image = pixmap.toImage();
    }
    if (image.isNull()) image = drawnPage(edge);
    if (rendered.size() > 256) rendered.clear();
    rendered.insert(key, image);
    return image;
}

QImage fileTypeIcon(const QString& path, int edge)
{
    return edge > 0 ? typeIcon(typeIconNames(path), edge) : QImage();
}
