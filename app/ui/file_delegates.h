#pragma once

#include <QStyledItemDelegate>

// The item size a FileListView lays out (its grid fills the row); invalid
// outside one. Delegates return it from sizeHint().
QSize viewTileSize(const QStyleOptionViewItem& option);

// The Explorer's grid tile: thumbnail (edge 240, 67 high), name on up to two
// lines, "Folder" or the size. Painted, no widget per item.
class FileTileDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    static constexpr int minimumWidth = 132;
    static constexpr int height = 146;
    static constexpr int spacing = 14;

    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

// The list row: 30 × 30 thumbnail (edge 80), name, modification date (120
// wide), size or "—" (75 wide), 42 high. In a narrow list the date and then
// the size give way, so the name never shrinks below a readable width.
class FileRowDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    static constexpr int height = 42;
    static constexpr int dateWidth = 120;
    static constexpr int sizeWidth = 75;
    static constexpr int minimumNameWidth = 120;

    struct Columns {
        bool date = true;
        bool size = true;
    };
    static Columns columnsFor(qreal rowWidth);
    // Where a row of that rectangle draws the name.
    static QRectF nameRect(const QRectF& row);

    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};
