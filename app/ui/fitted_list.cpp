#include "ui/fitted_list.h"

FittedList::FittedList(QAbstractItemModel* model, QAbstractItemDelegate* delegate, int width,
                       int minimumWidth, QWidget* parent)
    : QListView(parent), width_(width), minimumWidth_(minimumWidth)
{
    setModel(model);
    setItemDelegate(delegate);
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
        connect(model, signal, this, &FittedList::fitRows);
    connect(model, &QAbstractItemModel::modelReset, this, &FittedList::fitRows);
}

QSize FittedList::sizeHint() const
{
    return {width_, heightOf(model()->rowCount())};
}

QSize FittedList::minimumSizeHint() const
{
    return {minimumWidth_, sizeHint().height()};
}

void FittedList::fitRows()
{
    setFixedHeight(sizeHint().height());
    updateGeometry();
}
