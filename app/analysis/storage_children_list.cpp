#include "analysis/storage_children_list.h"

#include "analysis/storage_children_model.h"
#include "analysis/storage_row_delegate.h"

#include <QKeyEvent>

StorageChildrenList::StorageChildrenList(StorageChildrenModel* model, int spacing, QWidget* parent)
    : FittedList(model, new StorageRowDelegate(spacing), 300, 200, parent), model_(model),
      delegate_(static_cast<StorageRowDelegate*>(itemDelegate()))
{
    delegate_->setParent(this);
    viewport()->setCursor(Qt::PointingHandCursor);
    connect(this, &QAbstractItemView::clicked, this, &StorageChildrenList::rowPressed);
    fitRows();
}

int StorageChildrenList::heightOf(int rows) const
{
    return delegate_->listHeight(rows);
}

void StorageChildrenList::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        if (currentIndex().isValid()) Q_EMIT rowPressed(currentIndex());
        return;
    default:
        QListView::keyPressEvent(event);
    }
}
