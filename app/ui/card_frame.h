#pragma once

#include <QColor>
#include <QWidget>
#include <functional>

// A container drawn as a rounded card (fill, optional 1 px border); children
// are laid out by the caller.
class CardFrame : public QWidget {
    Q_OBJECT
public:
    explicit CardFrame(qreal radius = 12, QWidget* parent = nullptr);
    // Colours are functions so that they follow the light/dark palette.
    void setFill(std::function<QColor()> fill);
    void setBorder(std::function<QColor()> border);
    // The fill as it would be painted now; invalid when there is none.
    QColor fill() const { return fill_ ? fill_() : QColor(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    qreal radius_;
    std::function<QColor()> fill_;
    std::function<QColor()> border_;
};
