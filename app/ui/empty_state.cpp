#include "ui/empty_state.h"

#include "ui/palette.h"
#include "ui/symbols.h"
#include "ui/ui_style.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

namespace {

QPixmap badge(const QString& symbol)
{
    const qreal ratio = 2.0;
    QPixmap pixmap(int(78 * ratio), int(78 * ratio));
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    UiStyle::card(painter, QRectF(0, 0, 78, 78), 22, UiStyle::withAlpha(Palette::blue(), 0.07));
    QPixmap glyph = symbolPixmap(symbol, int(35 * ratio), Palette::blue());
    glyph.setDevicePixelRatio(ratio);
    painter.drawPixmap(QPointF(21.5, 21.5), glyph);
    return pixmap;
}

} // namespace

EmptyState::EmptyState(QWidget* parent)
    : QWidget(parent), icon_(new QLabel), title_(UiStyle::label({}, 18, QFont::DemiBold)),
      detail_(UiStyle::label({}, 12, QFont::Normal, true))
{
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 55, 0, 55);
    column->setSpacing(12);
    for (QLabel* label : {icon_, title_}) {
        label->setAlignment(Qt::AlignCenter);
        column->addWidget(label, 0, Qt::AlignHCenter);
    }
    // The wrapped detail sits between stretches rather than under an alignment
    // flag, so the layout asks it for its height at the width it really gets.
    detail_->setAlignment(Qt::AlignCenter);
    detail_->setWordWrap(true);
    detail_->setMaximumWidth(520);
    auto* detailRow = new QHBoxLayout;
    detailRow->addStretch();
    detailRow->addWidget(detail_, 100);
    detailRow->addStretch();
    column->addLayout(detailRow);
    icon_->setFixedSize(78, 78);
}

void EmptyState::set(const QString& icon, const QString& title, const QString& detail)
{
    if (icon != symbol_) {
        symbol_ = icon;
        icon_->setPixmap(badge(icon));
    }
    title_->setText(title);
    detail_->setText(detail);
}

QString EmptyState::title() const
{
    return title_->text();
}

QString EmptyState::detail() const
{
    return detail_->text();
}
