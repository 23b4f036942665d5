#pragma once

#include "ui/file_card_delegate.h"
#include "ui/fitted_list.h"

class FileCardModel;

// A list of file cards as tall as its rows. The current row answers the keys:
// Return or Space previews it, the menu key or Shift+F10 opens its file menu.
class FileCardList : public FittedList {
    Q_OBJECT
public:
    FileCardList(FileCardModel* model, FileCardDelegate::Look look, int spacing,
                 QWidget* parent = nullptr);
    FileCardModel* cardModel() const { return model_; }
    FileCardDelegate* cardDelegate() const { return delegate_; }

protected:
    int heightOf(int rows) const override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    FileCardModel* model_;
    FileCardDelegate* delegate_;
    int keptRow_ = -1;
};
