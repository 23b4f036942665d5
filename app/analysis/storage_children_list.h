#pragma once

#include <QListView>

class StorageChildrenModel;
class StorageRowDelegate;

// The rows of a StorageChildrenModel, as tall as its rows: it has no scroll
// bars of its own, the page around it scrolls. A click, or Return or Space on
// the current row, presses the row.
class StorageChildrenList : public QListView {
    Q_OBJECT
public:
    StorageChildrenList(StorageChildrenModel* model, int spacing, QWidget* parent = nullptr);
    StorageChildrenModel* childrenModel() const { return model_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

Q_SIGNALS:
    void rowPressed(const QModelIndex& index);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void fitRows();

    StorageChildrenModel* model_;
    StorageRowDelegate* delegate_;
};
