#pragma once

#include <QColor>
#include <QStyledItemDelegate>

// The library tile: a thumbnail (edge 320) tileSize wide and 0.72 × tileSize
// high with the extension in a capsule, the name, the size and "MMM d" date.
// Painted, no widget per item.
class LibraryTileDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    static constexpr qreal thumbnailEdge = 320;
    static constexpr int padding = 10;

    explicit LibraryTileDelegate(QObject* parent = nullptr);
    void setTileSize(qreal tileSize) { tileSize_ = tileSize; }
    qreal tileSize() const { return tileSize_; }
    // The selected tile's tint and border.
    void setColor(const QColor& color) { color_ = color; }
    // Tile height for a tile size: padding, picture, spacing, name, date line.
    static int heightFor(qreal tileSize);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;

private:
    qreal tileSize_ = 180;
    QColor color_;
};
