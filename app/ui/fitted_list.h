#pragma once

#include <QListView>

class QAbstractItemDelegate;

// A list as tall as its rows: it has no scroll bars of its own, the page
// around it scrolls. Subclasses say how tall a number of rows is, and call
// fitRows() once they are built.
class FittedList : public QListView {
    Q_OBJECT
public:
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    // `width` is the preferred width, `minimumWidth` the least.
    FittedList(QAbstractItemModel* model, QAbstractItemDelegate* delegate, int width,
               int minimumWidth, QWidget* parent);
    virtual int heightOf(int rows) const = 0;
    void fitRows();

private:
    int width_;
    int minimumWidth_;
};
