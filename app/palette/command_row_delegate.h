#pragma once

#include <QStyledItemDelegate>

// Paints a section command: its sidebar icon, its name and a return symbol,
// on a card that lights up under the pointer and brighter on the current row.
class CommandRowDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    // Each row but the last carries the gap to the next row below its card,
    // so a list as tall as its rows shows no gap at either end.
    static constexpr int rowWidth = 440;
    static constexpr int cardHeight = 45;
    static constexpr int rowGap = 2;

    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};
