#pragma once

#include "sections/browser_mode.h"
#include "ui/card_frame.h"

#include <QList>

class QToolButton;

// The four layout buttons in a `surface` capsule; the current one is drawn in
// blue on the text background, the others in the secondary colour.
class LayoutPicker : public CardFrame {
    Q_OBJECT
public:
    explicit LayoutPicker(QWidget* parent = nullptr);

    BrowserMode current() const { return current_; }
    void setCurrent(BrowserMode mode);
    QToolButton* button(BrowserMode mode) const;

Q_SIGNALS:
    void chosen(BrowserMode mode);

private:
    QList<QToolButton*> buttons_;
    BrowserMode current_ = BrowserMode::Grid;
};
