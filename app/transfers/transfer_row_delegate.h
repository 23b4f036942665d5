#pragma once

#include "transfers/transfer_row_geometry.h"

#include <QMenu>
#include <QPersistentModelIndex>
#include <QPointer>
#include <QStyledItemDelegate>
#include <QUuid>

class QAbstractItemView;

// Paints one copy job of a TransferListModel as a card: its status symbol,
// name, status, destination, progress while copying and failure, with
// "Retry", "Pause" or "Resume" and "Cancel" as the status allows, and a "More"
// button whose menu (also on a right click or the menu key) moves a queued job
// up or down the queue and shows its item in the file manager.
//
// The buttons answer the mouse with hover and pressed looks. From the keys,
// Left and Right pick a button of the current row, Space or Return presses it.
// Every status keeps the card at one height.
class TransferRowDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using Button = TransferButton;
    // What else a card shows; the detail line holds the byte count or the failure.
    enum class Part { Symbol, Name, Status, Destination, Progress, Detail };

    explicit TransferRowDelegate(QAbstractItemView* view);
    ~TransferRowDelegate() override;

    // Room left and right of the cards, so that they line up with what is above the list.
    void setInset(int inset);

    // Where `button` of the row at `index` is drawn, in viewport coordinates;
    // empty when the row does not offer it.
    QRect buttonRect(const QModelIndex& index, Button button) const;
    // Where `part` of the row at `index` is drawn, in viewport coordinates.
    QRect partRect(const QModelIndex& index, Part part) const;
    // The buttons the row offers, from left to right.
    QList<Button> buttons(const QModelIndex& index) const;
    static QString buttonText(const QModelIndex& index, Button button);
    // The button Space or Return presses; the row's first while none was picked.
    std::optional<Button> focusedButton() const;
    // The row's menu: "Move Up", "Move Down", "Show in File Manager".
    QMenu* makeMenu(const QModelIndex& index, QWidget* parent);
    // The menu open now, if any.
    QMenu* openMenu() const { return menu_; }

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;

Q_SIGNALS:
    void retryRequested(const QUuid& id);
    void cancelRequested(const QUuid& id);
    void pauseRequested(const QUuid& id, bool paused);
    void moveRequested(const QUuid& id, int step);

protected:
    bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                     const QModelIndex& index) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TransferRowGeometry geometry(const QRect& rowRect, const QModelIndex& index) const;
    std::optional<Button> buttonAt(const QModelIndex& index, const QPoint& at) const;
    void press(const QModelIndex& index, Button button);
    void showMenu(const QModelIndex& index, const QPoint& globalPos);
    bool keyPress(QKeyEvent* event);
    void hover(const QPoint& at);
    void updateRow(const QPersistentModelIndex& index) const;
    void paintButton(QPainter* painter, const QStyleOptionViewItem& option,
                     const QModelIndex& index, Button button, const QRect& rect) const;

    QAbstractItemView* view_;
    int inset_ = 0;
    QPersistentModelIndex hovered_;
    std::optional<Button> hoveredButton_;
    QPersistentModelIndex pressed_;
    std::optional<Button> pressedButton_;
    QPersistentModelIndex focused_;
    std::optional<Button> focusedButton_;
    QPointer<QMenu> menu_;
};
