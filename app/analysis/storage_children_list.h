#pragma once

#include "ui/fitted_list.h"

class StorageChildrenModel;
class StorageRowDelegate;

// The rows of a StorageChildrenModel, as tall as its rows. A click, or
// Return or Space on the current row, presses the row.
class StorageChildrenList : public FittedList {
    Q_OBJECT
public:
    StorageChildrenList(StorageChildrenModel* model, int spacing, QWidget* parent = nullptr);
    StorageChildrenModel* childrenModel() const { return model_; }

Q_SIGNALS:
    void rowPressed(const QModelIndex& index);

protected:
    int heightOf(int rows) const override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    StorageChildrenModel* model_;
    StorageRowDelegate* delegate_;
};
