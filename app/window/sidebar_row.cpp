#include "window/sidebar_row.h"

#include "sections/named_colors.h"
#include "ui/palette.h"
#include "ui/sidebar_icon.h"
#include "ui/ui_style.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QPainter>

SidebarRow::SidebarRow(const QString& symbol, const QColor& color, const QString& title, int height,
                       QWidget* parent)
    : QAbstractButton(parent), symbol_(symbol), color_(color), height_(height),
      trailing_(new QHBoxLayout(this))
{
    setText(title);
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
    setAccessibleName(title);
    setFixedHeight(height);
    trailing_->setContentsMargins(0, 0, 18, 0);
    trailing_->addStretch(1);
}

void SidebarRow::setCurrent(bool current)
{
    current_ = current;
    update();
}

void SidebarRow::addTrailing(QWidget* widget)
{
    trailing_->addWidget(widget);
}

QSize SidebarRow::sizeHint() const
{
    return {200, height_};
}

void SidebarRow::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF area = QRectF(rect());
    if (current_)
        UiStyle::card(painter, area, 7, UiStyle::withAlpha(Palette::blue(), 0.09));
    else if (hovered_)
        UiStyle::card(painter, area, 7, UiStyle::quaternaryFill());
    if (hasFocus())
        UiStyle::card(painter, area.adjusted(1, 1, -1, -1), 6, QColor(),
                      UiStyle::withAlpha(Palette::blue(), 0.5));
    SidebarIcon::paint(painter, QRectF(11, (height() - 25) / 2.0, 25, 25), symbol_, color_);
    const QFont font = UiStyle::font(12, current_ ? QFont::DemiBold : QFont::Normal);
    painter.setFont(font);
    const QColor window = QApplication::palette().color(QPalette::Window);
    painter.setPen(current_
                       ? NamedColors::legibleOn(Palette::blue(), window, 5.0)
                       : UiStyle::withAlpha(QApplication::palette().color(QPalette::Text), 0.75));
    const QRectF textRect(11 + 25 + 11, 0, width() - 47 - 22, height());
    painter.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter,
                     QFontMetricsF(font).elidedText(text(), Qt::ElideRight, textRect.width()));
    if (current_) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(Palette::blue());
        painter.drawRoundedRect(QRectF(width() - 11 - 3, (height() - 13) / 2.0, 3, 13), 1.5, 1.5);
    }
}

void SidebarRow::enterEvent(QEnterEvent* event)
{
    hovered_ = true;
    update();
    QAbstractButton::enterEvent(event);
}

void SidebarRow::leaveEvent(QEvent* event)
{
    hovered_ = false;
    update();
    QAbstractButton::leaveEvent(event);
}
