#include "palette/command_row_delegate.h"

#include "palette/section_command_model.h"
#include "ui/palette.h"
#include "ui/sidebar_icon.h"
#include "ui/symbols.h"
#include "ui/ui_style.h"

#include <QPainter>

void CommandRowDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const
{
    const Feature feature = SectionCommandModel::featureAt(index);
    const QRect card(option.rect.topLeft(), QSize(option.rect.width(), cardHeight));
    const bool current = option.state.testFlag(QStyle::State_Selected);
    const bool hovered = option.state.testFlag(QStyle::State_MouseOver) ||
                         option.state.testFlag(QStyle::State_HasFocus);
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    if (current || hovered)
        UiStyle::card(*painter, QRectF(card).adjusted(0.5, 0.5, -0.5, -0.5), 12,
                      UiStyle::withAlpha(Palette::blue(), current ? 0.12 : 0.06));
    SidebarIcon::paint(*painter,
                       QRectF(card.left() + 10, card.top() + (card.height() - 25) / 2.0, 25, 25),
                       iconOf(feature), colorOf(feature));
    painter->setFont(UiStyle::font(13, current ? QFont::DemiBold : QFont::Normal));
    painter->setPen(option.palette.color(QPalette::WindowText));
    painter->drawText(QRectF(card.left() + 47, card.top(), card.width() - 90, card.height()),
                      Qt::AlignVCenter | Qt::AlignLeft, index.data(Qt::DisplayRole).toString());
    const QPixmap mark = symbolPixmap(QStringLiteral("return"), 14, UiStyle::tertiaryText());
    painter->drawPixmap(
        QPointF(card.right() + 1 - 10 - 14, card.top() + (card.height() - 14) / 2.0), mark);
    painter->restore();
}

QSize CommandRowDelegate::sizeHint(const QStyleOptionViewItem&, const QModelIndex& index) const
{
    const bool last = index.row() == index.model()->rowCount(index.parent()) - 1;
    return {rowWidth, cardHeight + (last ? 0 : rowGap)};
}
