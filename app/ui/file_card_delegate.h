#pragma once

#include <QPersistentModelIndex>
#include <QStyledItemDelegate>

class QAbstractItemView;

// A file card row of a FileCardModel: thumbnail, name over its folder (or
// the file it is the same as), size, a "Preview" button and a menu button at
// the right end. Painted, no widget per row; the buttons answer the mouse
// here and the keys through FileCardList.
class FileCardDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    // The timeline's rows are 52 high; the tools' rows fit their two lines
    // and give sizes in digits, as their cards always have.
    enum class Look { Timeline, Tool };
    static constexpr int padding = 10;
    static constexpr int menuWidth = 22;
    static constexpr int thumbnailEdge = 64;

    // `spacing`: the gap under every row but the last.
    FileCardDelegate(Look look, int spacing, QObject* parent = nullptr);

    int rowHeight() const;
    int spacing() const { return spacing_; }
    // The height of `rows` rows with the gaps between them.
    int listHeight(int rows) const;

    // In `view`'s viewport coordinates.
    QRect cardRect(const QAbstractItemView& view, const QModelIndex& index) const;
    QRect previewRect(const QAbstractItemView& view, const QModelIndex& index) const;
    QRect menuRect(const QAbstractItemView& view, const QModelIndex& index) const;

    void preview(const QModelIndex& index) const;
    // Pops up the file menu of `index` under its menu button. The menu goes
    // with the view (a day the refiltering drops) and closes with the model.
    void showMenu(QAbstractItemView& view, const QModelIndex& index) const;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                     const QModelIndex& index) override;
    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;

private:
    enum class Part { None, Preview, Menu };
    QRect card(const QRect& item) const;
    QRect preview(const QRect& item) const;
    QRect menu(const QRect& item) const;
    Part partAt(const QRect& item, const QPoint& point) const;
    void setHover(const QStyleOptionViewItem& option, const QModelIndex& index, Part part);

    Look look_;
    int spacing_;
    QPersistentModelIndex hover_;
    Part hoverPart_ = Part::None;
    QPersistentModelIndex pressed_;
};
