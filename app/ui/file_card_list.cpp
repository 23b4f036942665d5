#include "ui/file_card_list.h"

#include "ui/file_card_model.h"

#include <QKeyEvent>

FileCardList::FileCardList(FileCardModel* model, FileCardDelegate::Look look, int spacing,
                           QWidget* parent)
    : QListView(parent), model_(model), delegate_(new FileCardDelegate(look, spacing, this))
{
    setModel(model);
    setItemDelegate(delegate_);
    setSelectionMode(QAbstractItemView::NoSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setResizeMode(QListView::Adjust);
    setMouseTracking(true);
    setFocusPolicy(Qt::TabFocus);
    setFrameShape(QFrame::NoFrame);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setAutoFillBackground(false);
    viewport()->setAutoFillBackground(false);
    for (auto signal : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved})
        connect(model, signal, this, &FileCardList::fitRows);
    connect(model, &QAbstractItemModel::modelReset, this, &FileCardList::fitRows);
    // New files keep the keyboard on the same row, or the last one if fewer.
    connect(model, &QAbstractItemModel::modelAboutToBeReset, this,
            [this] { keptRow_ = currentIndex().row(); });
    connect(model, &QAbstractItemModel::modelReset, this, [this] {
        const int rows = model_->rowCount();
        if (keptRow_ >= 0 && rows > 0)
            setCurrentIndex(model_->index(std::min(keptRow_, rows - 1), 0));
        keptRow_ = -1;
    });
    fitRows();
}

QSize FileCardList::sizeHint() const
{
    return {400, delegate_->listHeight(model_->rowCount())};
}

QSize FileCardList::minimumSizeHint() const
{
    return {240, sizeHint().height()};
}

void FileCardList::fitRows()
{
    setFixedHeight(sizeHint().height());
    updateGeometry();
}

void FileCardList::keyPressEvent(QKeyEvent* event)
{
    const QModelIndex current = currentIndex().isValid() ? currentIndex() : model_->index(0, 0);
    const bool menuKey = event->key() == Qt::Key_Menu ||
                         (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier);
    if (current.isValid() && menuKey) {
        delegate_->showMenu(*this, current);
        return;
    }
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        if (current.isValid()) delegate_->preview(current);
        return;
    default:
        QListView::keyPressEvent(event);
    }
}
