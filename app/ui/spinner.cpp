#include "ui/spinner.h"

#include "ui/palette.h"

#include <QPainter>
#include <QTimer>

Spinner::Spinner(int edge, QWidget* parent) : QWidget(parent), edge_(edge), timer_(new QTimer(this))
{
    setFixedSize(edge, edge);
    timer_->setInterval(50);
    connect(timer_, &QTimer::timeout, this, [this] {
        angle_ = (angle_ + 30) % 360;
        update();
    });
}

void Spinner::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF ring = QRectF(rect()).adjusted(2, 2, -2, -2);
    QPen pen(Palette::blue(), 2, Qt::SolidLine, Qt::RoundCap);
    painter.setPen(pen);
    painter.drawArc(ring, -angle_ * 16, 270 * 16);
}

void Spinner::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    timer_->start();
}

void Spinner::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    timer_->stop();
}
