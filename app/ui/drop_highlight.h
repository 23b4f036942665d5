#pragma once

#include <QWidget>

// The mark over the place where dropped files would land: a folder's tile
// or row, or the whole list for the folder shown. Drawn on a child above the
// target, so the target's own painting is untouched, and let through by the mouse.
class DropHighlight : public QWidget {
    Q_OBJECT
public:
    explicit DropHighlight(QWidget* target);
    // Marks `area` of the target; an empty area hides the mark.
    void mark(const QRect& area);

protected:
    void paintEvent(QPaintEvent* event) override;
};
