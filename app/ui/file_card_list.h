#pragma once

#include "ui/file_card_delegate.h"

#include <QListView>

class FileCardModel;

// A list of file cards as tall as its rows: it has no scroll bars of its
// own, the page around it scrolls. The current row answers the keys:
// Return or Space previews it, the menu key or Shift+F10 opens its file menu.
class FileCardList : public QListView {
    Q_OBJECT
public:
    FileCardList(FileCardModel* model, FileCardDelegate::Look look, int spacing,
                 QWidget* parent = nullptr);
    FileCardModel* cardModel() const { return model_; }
    FileCardDelegate* cardDelegate() const { return delegate_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void fitRows();

    FileCardModel* model_;
    FileCardDelegate* delegate_;
    int keptRow_ = -1;
};
