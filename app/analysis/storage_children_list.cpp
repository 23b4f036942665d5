#include "analysis/storage_children_list.h"

#include "analysis/storage_children_model.h"
#include "analysis/storage_row_delegate.h"

#include <QKeyEvent>

StorageChildrenList::StorageChildrenList(StorageChildrenModel* model, int spacing, QWidget* parent)
    : QListView(parent), model_(model), delegate_(new StorageRowDelegate(spacing, this))
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
    viewport()->setCursor(Qt::PointingHandCursor);
    for (auto signal : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved})
        connect(model, signal, this, &StorageChildrenList::fitRows);
    connect(model, &QAbstractItemModel::modelReset, this, &StorageChildrenList::fitRows);
    connect(this, &QAbstractItemView::clicked, this, &StorageChildrenList::rowPressed);
    fitRows();
}

QSize StorageChildrenList::sizeHint() const
{
    return {300, delegate_->listHeight(model_->rowCount())};
}

QSize StorageChildrenList::minimumSizeHint() const
{
    return {200, sizeHint().height()};
}

void StorageChildrenList::fitRows()
{
    setFixedHeight(sizeHint().height());
    updateGeometry();
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
