#include "library/library_tile_delegate.h"

#include "file_entry.h"
#include "file_size_format.h"
#include "ui/file_list_model.h"
#include "ui/media_thumbnail.h"
#include "ui/palette.h"
#include "ui/thumbnail_requests.h"
#include "ui/ui_style.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QHelpEvent>
#include <QLocale>
#include <QPainter>
#include <QPainterPath>
#include <QToolTip>

LibraryTileDelegate::LibraryTileDelegate(QObject* parent)
    : QStyledItemDelegate(parent), color_(Palette::blue())
{
}

int LibraryTileDelegate::heightFor(qreal tileSize)
{
    return int(std::ceil(padding + 0.72 * tileSize + 10 + 16 + 4 + 14 + padding));
}

QSize LibraryTileDelegate::sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const
{
    return QSize(int(tileSize_) + 2 * padding, heightFor(tileSize_));
}

void LibraryTileDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                const QModelIndex& index) const
{
    const auto* model = qobject_cast<const FileListModel*>(index.model());
    if (!model) return;
    const FileEntry& file = model->entry(index.row());
    const bool selected = index.data(FileListModel::SelectedRole).toBool();
    const QPalette& palette = option.palette;
    const QColor text = palette.color(QPalette::Text);

    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    const QRectF tile = QRectF(option.rect).adjusted(0.5, 0.5, -0.5, -0.5);
    UiStyle::card(*painter, tile, 12,
                  selected ? UiStyle::withAlpha(color_, 0.08)
                           : UiStyle::withAlpha(Palette::surface(), 0.4),
                  selected ? color_ : Palette::line());

    const QRectF inner = tile.adjusted(padding, padding, -padding, -padding);
    const QRectF picture(inner.left(), inner.top(), inner.width(), 0.72 * tileSize_);
    QPainterPath clip;
    clip.addRoundedRect(picture, 8, 8);
    painter->fillPath(clip, UiStyle::withAlpha(text, 0.035));
    const QImage image = model->thumbnail(index.row(), thumbnailEdge);
    painter->save();
    painter->setClipPath(clip);
    MediaThumbnail::paint(*painter, picture, file, image, std::min(40.0, picture.height() * 0.3));
    painter->restore();

    const QString ext = file.ext().toUpper();
    if (!ext.isEmpty()) {
        QFont badge = UiStyle::font(8, QFont::Bold);
        const QFontMetricsF metrics(badge);
        const qreal width = std::min(metrics.horizontalAdvance(ext) + 10, picture.width() - 14);
        const QRectF capsule(picture.right() - 7 - width, picture.top() + 7, width,
                             metrics.height() + 4);
        const bool dark = palette.color(QPalette::Window).lightness() < 128;
        painter->setPen(Qt::NoPen);
        painter->setBrush(dark ? QColor(30, 30, 32, 200) : QColor(255, 255, 255, 215));
        painter->drawRoundedRect(capsule, capsule.height() / 2, capsule.height() / 2);
        painter->setFont(badge);
        painter->setPen(text);
        painter->drawText(capsule, Qt::AlignCenter,
                          metrics.elidedText(ext, Qt::ElideRight, capsule.width() - 6));
    }

    qreal y = picture.bottom() + 10;
    const QFont nameFont = UiStyle::font(12, QFont::Medium);
    painter->setFont(nameFont);
    painter->setPen(text);
    const QFontMetricsF nameMetrics(nameFont);
    painter->drawText(QRectF(inner.left(), y, inner.width(), 16), Qt::AlignLeft | Qt::AlignVCenter,
                      nameMetrics.elidedText(file.name, Qt::ElideMiddle, inner.width()));
    y += 20;
    const QFont detailFont = UiStyle::font(10);
    painter->setFont(detailFont);
    painter->setPen(UiStyle::secondaryText());
    const QString date =
        QLocale().toString(file.modified.toLocalTime().date(), tr("MMM d", "date pattern"));
    const QRectF line(inner.left(), y, inner.width(), 14);
    painter->drawText(line, Qt::AlignLeft | Qt::AlignVCenter, formatFileSize(file.size));
    painter->drawText(line, Qt::AlignRight | Qt::AlignVCenter, date);
    painter->restore();
}

bool LibraryTileDelegate::helpEvent(QHelpEvent* event, QAbstractItemView* view,
                                    const QStyleOptionViewItem& option, const QModelIndex& index)
{
    if (event->type() == QEvent::ToolTip && index.isValid()) {
        const auto* model = qobject_cast<const FileListModel*>(index.model());
        if (model) {
            QToolTip::showText(event->globalPos(), model->entry(index.row()).path, view);
            return true;
        }
    }
    return QStyledItemDelegate::helpEvent(event, view, option, index);
}
