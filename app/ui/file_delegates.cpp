#include "ui/file_delegates.h"

#include "file_size_format.h"
#include "ui/file_list_model.h"
#include "ui/media_thumbnail.h"
#include "ui/palette.h"
#include "ui/thumbnail_requests.h"
#include "ui/tile_backdrop.h"
#include "ui/ui_style.h"
#include "ui/wrapped_text.h"

#include <QApplication>
#include <QLocale>
#include <QPainter>

namespace {

const FileListModel* fileModel(const QModelIndex& index)
{
    return qobject_cast<const FileListModel*>(index.model());
}

QColor textColor()
{
    return QApplication::palette().color(QPalette::Text);
}

} // namespace

QSize viewTileSize(const QStyleOptionViewItem& option)
{
    return option.widget ? option.widget->property("quorvaneTileSize").toSize() : QSize();
}

void FileTileDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const
{
    const FileListModel* model = fileModel(index);
    if (!model) return;
    const FileEntry& file = model->entry(index.row());
    const bool selected = model->isSelected(index.row());
    const QRectF frame = QRectF(option.rect).adjusted(0.5, 0.5, -0.5, -0.5);
    TileBackdrop::paint(*painter, option.rect, 10,
                        selected ? UiStyle::withAlpha(Palette::blue(), 0.08)
                                 : UiStyle::withAlpha(Palette::surface(), 0.35),
                        selected ? UiStyle::withAlpha(Palette::blue(), 0.6) : Palette::line(),
                        option.state & QStyle::State_HasFocus
                            ? UiStyle::withAlpha(Palette::blue(), 0.35)
                            : QColor());
    const QRectF inner = frame.adjusted(13, 13, -13, -13);
    const QRectF picture(inner.left(), inner.top() + 7, inner.width(), 67);
    MediaThumbnail::paint(*painter, picture, file, model->thumbnail(index.row(), 240), 34);
    painter->setPen(textColor());
    const QFont nameFont = UiStyle::font(11, QFont::Medium);
    const QRectF nameRect(inner.left(), picture.bottom() + 11, inner.width(), 28);
    WrappedText::draw(*painter, nameRect, file.name, nameFont, 2, Qt::AlignHCenter);
    painter->setPen(UiStyle::secondaryText());
    painter->setFont(UiStyle::font(10));
    painter->drawText(QRectF(inner.left(), nameRect.bottom() + 2, inner.width(), 16),
                      Qt::AlignHCenter | Qt::AlignTop,
                      file.isDirectory ? tr("Folder") : formatFileSize(file.size));
}

QSize FileTileDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const
{
    const QSize tile = viewTileSize(option);
    return tile.isValid() ? tile : QSize(minimumWidth, height);
}

void FileRowDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                            const QModelIndex& index) const
{
    const FileListModel* model = fileModel(index);
    if (!model) return;
    const FileEntry& file = model->entry(index.row());
    const QRectF row = option.rect;
    if (model->isSelected(index.row()))
        painter->fillRect(row, UiStyle::withAlpha(Palette::blue(), 0.10));
    if (option.state & QStyle::State_HasFocus)
        UiStyle::card(*painter, row.adjusted(1, 1, -1, -1), 4, QColor(),
                      UiStyle::withAlpha(Palette::blue(), 0.35));
    painter->fillRect(QRectF(row.left(), row.bottom(), row.width(), 1), Palette::line());
    const QRectF picture(row.left() + 12, row.center().y() - 15, 30, 30);
    MediaThumbnail::paint(*painter, picture, file, model->thumbnail(index.row(), 80), 22);
    const Columns columns = columnsFor(row.width());
    const QRectF nameRect = FileRowDelegate::nameRect(row);
    const QRectF sizeRect(row.right() - 12 - sizeWidth, row.top(), sizeWidth, row.height());
    const QRectF dateRect((columns.size ? sizeRect.left() : row.right() - 12) - 10 - dateWidth,
                          row.top(), dateWidth, row.height());
    const QFont font = UiStyle::font(12);
    painter->setFont(font);
    painter->setPen(textColor());
    painter->drawText(nameRect, Qt::AlignLeft | Qt::AlignVCenter,
                      QFontMetricsF(font).elidedText(file.name, Qt::ElideMiddle, nameRect.width()));
    painter->setPen(UiStyle::secondaryText());
    static const QLocale locale;
    if (columns.date)
        painter->drawText(
            dateRect, Qt::AlignLeft | Qt::AlignVCenter,
            locale.toString(file.modified.toLocalTime().date(), QLocale::ShortFormat));
    if (columns.size)
        painter->drawText(sizeRect, Qt::AlignRight | Qt::AlignVCenter,
                          file.isDirectory ? QStringLiteral("\u2014") : formatFileSize(file.size));
}

FileRowDelegate::Columns FileRowDelegate::columnsFor(qreal rowWidth)
{
    // Padding, thumbnail and its gap on the left, padding on the right.
    const qreal room = rowWidth - 12 - 30 - 10 - 12;
    Columns columns;
    if (room - (10 + dateWidth) - (10 + sizeWidth) >= minimumNameWidth) return columns;
    columns.date = false;
    if (room - (10 + sizeWidth) >= minimumNameWidth) return columns;
    columns.size = false;
    return columns;
}

QRectF FileRowDelegate::nameRect(const QRectF& row)
{
    const Columns columns = columnsFor(row.width());
    const qreal left = row.left() + 12 + 30 + 10;
    qreal right = row.right() - 12;
    if (columns.size) right -= sizeWidth + 10;
    if (columns.date) right -= dateWidth + 10;
    return QRectF(left, row.top(), std::max(0.0, right - left), row.height());
}

QSize FileRowDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const
{
    const QSize row = viewTileSize(option);
    return row.isValid() ? row : QSize(300, height);
}
