#include "ui/media_thumbnail.h"

#include "media/thumbnail_store.h"
#include "ui/banded_paint.h"
#include "ui/palette.h"
#include "ui/symbols.h"
#include "ui/ui_style.h"
#include "when_finished.h"

#include <QPainter>

MediaThumbnail::MediaThumbnail(qreal edge, QWidget* parent) : QWidget(parent), edge_(edge)
{
    setAccessibleName({});
}

MediaThumbnail::~MediaThumbnail()
{
    request_.cancel();
}

void MediaThumbnail::setFile(const FileEntry& file)
{
    const bool samePicture =
        file.path == file_.path && file.modified == file_.modified && file.size == file_.size;
    file_ = file;
    setAccessibleName(file.name);
    if (samePicture && (!image_.isNull() || request_.isRunning())) return;
    request_.cancel();
    image_ = QImage();
    update();
    if (file.path.isEmpty()) return;
    request_ = ThumbnailStore::shared().thumbnail(file, edge_);
    const QString path = file.path;
    whenFinished(request_, this, [this, path](const QImage& image) {
        if (path != file_.path) return;
        image_ = image;
        update();
        Q_EMIT imageChanged();
    });
}

QString MediaThumbnail::placeholderSymbol(const FileEntry& file)
{
    if (file.isDirectory) return QStringLiteral("folder.fill");
    switch (file.mediaKind) {
    case MediaKind::Image:
        return QStringLiteral("photo");
    case MediaKind::Video:
        return QStringLiteral("film");
    case MediaKind::Audio:
        return QStringLiteral("waveform");
    default:
        return QStringLiteral("doc.text");
    }
}

void MediaThumbnail::paint(QPainter& painter, const QRectF& rect, const FileEntry& file,
                           const QImage& image, qreal placeholderPoints)
{
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const qreal ratio = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    if (!image.isNull()) {
        QSizeF fitted = QSizeF(image.size()).scaled(rect.size(), Qt::KeepAspectRatio);
        const QRectF target(rect.center() - QPointF(fitted.width() / 2, fitted.height() / 2),
                            fitted);
        BandedPaint::drawImage(painter, target, image);
    } else {
        const int edge = int(std::min({placeholderPoints, rect.width(), rect.height()}));
        QPixmap glyph = symbolPixmap(placeholderSymbol(file), int(edge * ratio),
                                     UiStyle::withAlpha(Palette::blue(), 0.5));
        glyph.setDevicePixelRatio(ratio);
        painter.drawPixmap(rect.center() - QPointF(edge / 2.0, edge / 2.0), glyph);
    }
    if (file.mediaKind == MediaKind::Video && !file.isDirectory) {
        const int edge = int(std::min<qreal>(24, rect.height()));
        const QPointF corner = rect.center() - QPointF(edge / 2.0, edge / 2.0);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(0, 0, 0, 84));
        painter.drawEllipse(QRectF(corner, QSizeF(edge, edge)).adjusted(-2, -1, 2, 3));
        QPixmap mark =
            symbolPixmap(QStringLiteral("play.circle.fill"), int(edge * ratio), Qt::white);
        mark.setDevicePixelRatio(ratio);
        painter.drawPixmap(corner, mark);
    }
    painter.restore();
}

void MediaThumbnail::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    paint(painter, rect(), file_, image_, std::min<qreal>(40, height() * 0.6));
}
