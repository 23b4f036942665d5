#include "ui/drop_highlight.h"

#include <QPainter>

DropHighlight::DropHighlight(QWidget* target) : QWidget(target)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
    hide();
}

void DropHighlight::mark(const QRect& area)
{
    if (area.isEmpty()) {
        hide();
        return;
    }
    setGeometry(area);
    raise();
    show();
    update();
}

void DropHighlight::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QColor accent = palette().color(QPalette::Highlight);
    QColor wash = accent;
    wash.setAlphaF(0.16f);
    painter.setPen(QPen(accent, 2));
    painter.setBrush(wash);
    painter.drawRoundedRect(QRectF(rect()).adjusted(1, 1, -1, -1), 8, 8);
}
