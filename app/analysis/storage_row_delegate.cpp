#include "analysis/storage_row_delegate.h"

#include "file_size_format.h"
#include "ui/palette.h"
#include "ui/symbols.h"
#include "ui/ui_style.h"

#include <QApplication>
#include <QPainter>

StorageRowDelegate::StorageRowDelegate(int spacing, QObject* parent)
    : QStyledItemDelegate(parent), spacing_(spacing)
{
}

int StorageRowDelegate::listHeight(int rows) const
{
    return rows <= 0 ? 0 : rows * height + (rows - 1) * spacing_;
}

void StorageRowDelegate::paint(QPainter& painter, const QRectF& rect, const StorageNode& node,
                               bool drill, bool highlighted)
{
    painter.save();
    if (highlighted) UiStyle::card(painter, rect, 6, UiStyle::quaternaryFill());
    const QRectF inner = rect.adjusted(10, 7, -10, -7);
    const bool folder = node.isDirectory();
    const int edge = 16;
    const QPixmap symbol =
        folder ? symbolPixmap(QStringLiteral("folder.fill"), edge, Palette::blue())
               : symbolPixmap(QStringLiteral("doc.fill"), edge, UiStyle::secondaryText());
    painter.drawPixmap(QPointF(inner.left(), inner.center().y() - edge / 2.0), symbol);

    qreal right = inner.right();
    if (folder && drill) {
        const QPixmap chevron =
            symbolPixmap(QStringLiteral("chevron.right"), 11, UiStyle::secondaryText());
        painter.drawPixmap(QPointF(right - 11, inner.center().y() - 5.5), chevron);
        right -= 11 + 8;
    }
    const QFont caption = UiStyle::font(10);
    painter.setFont(UiStyle::digits(10));
    painter.setPen(QApplication::palette().color(QPalette::Text));
    const QRectF bytes(right - 85, inner.top(), 85, inner.height());
    painter.drawText(bytes, Qt::AlignRight | Qt::AlignVCenter, formatFileSize(node.bytes()));

    const qreal left = inner.left() + edge + 10;
    QRectF text(left, inner.top(), bytes.left() - 10 - left, inner.height());
    const QFont name = UiStyle::font(12);
    painter.setFont(name);
    const QFontMetricsF nameMetrics(name);
    QString count;
    if (folder) count = tr("%n files", nullptr, int(node.fileCount()));
    const qreal countWidth = folder ? QFontMetricsF(caption).horizontalAdvance(count) + 8 : 0;
    const QString shown =
        nameMetrics.elidedText(node.name(), Qt::ElideMiddle, text.width() - countWidth);
    painter.drawText(text, Qt::AlignLeft | Qt::AlignVCenter, shown);
    if (folder) {
        painter.setFont(caption);
        painter.setPen(UiStyle::secondaryText());
        text.setLeft(text.left() + nameMetrics.horizontalAdvance(shown) + 8);
        painter.drawText(text, Qt::AlignLeft | Qt::AlignVCenter, count);
    }
    painter.restore();
}

void StorageRowDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const
{
    const auto* node = index.data(NodeRole).value<const StorageNode*>();
    if (!node) return;
    painter->setRenderHint(QPainter::Antialiasing);
    const bool highlighted =
        option.state & (QStyle::State_Selected | QStyle::State_MouseOver | QStyle::State_HasFocus);
    const QRect row(option.rect.left(), option.rect.top(), option.rect.width(), height);
    paint(*painter, row, *node, index.data(DrillsRole).toBool(), highlighted);
}

QSize StorageRowDelegate::sizeHint(const QStyleOptionViewItem&, const QModelIndex& index) const
{
    // No gap after the last row, so the rows fill the list exactly and it never scrolls.
    const bool last = index.row() + 1 >= index.model()->rowCount(index.parent());
    return {300, height + (last || !spacing_ ? 0 : spacing_)};
}

QVariant StorageRowDelegate::nodeData(const StorageNode* node, int role)
{
    if (!node) return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
        return node->name();
    case Qt::ToolTipRole:
        return node->path();
    case NodeRole:
        return QVariant::fromValue(node);
    default:
        return {};
    }
}
