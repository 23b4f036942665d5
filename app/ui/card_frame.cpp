#include "ui/card_frame.h"

#include "ui/ui_style.h"

#include <QPainter>

CardFrame::CardFrame(qreal radius, QWidget* parent) : QWidget(parent), radius_(radius) {}

void CardFrame::setFill(std::function<QColor()> fill)
{
    fill_ = std::move(fill);
    update();
}

void CardFrame::setBorder(std::function<QColor()> border)
{
    border_ = std::move(border);
    update();
}

void CardFrame::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    UiStyle::card(painter, rect(), radius_, fill_ ? fill_() : QColor(),
                  border_ ? border_() : QColor());
}
