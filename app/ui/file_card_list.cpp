#include "ui/file_card_list.h"

#include "ui/file_card_model.h"

#include <QKeyEvent>

FileCardList::FileCardList(FileCardModel* model, FileCardDelegate::Look look, int spacing,
                           QWidget* parent)
    : FittedList(model, new FileCardDelegate(look, spacing), 400, 240, parent), model_(model),
      delegate_(static_cast<FileCardDelegate*>(itemDelegate()))
{
    delegate_->setParent(this);
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

int FileCardList::heightOf(int rows) const
{
    return delegate_->listHeight(rows);
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
