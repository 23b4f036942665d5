#include "transfers/transfer_row_geometry.h"

#include "ui/ui_style.h"

#include <QApplication>
#include <QStyle>
#include <QStyleOptionButton>

namespace {

constexpr int margin = 18;
constexpr int lineGap = 10;
constexpr int columnGap = 12;
constexpr int symbolEdge = 22;
constexpr int progressHeight = 6;
constexpr int textGap = 2;

int smallHeight()
{
    return QFontMetrics(TransferRowGeometry::smallFont()).height();
}

QSize pushButtonSize(const QString& text)
{
    QStyleOptionButton option;
    option.text = text;
    option.fontMetrics = QFontMetrics(TransferRowGeometry::buttonFont());
    const QSize content = option.fontMetrics.size(Qt::TextShowMnemonic, text);
    option.rect.setSize(content);
    return QApplication::style()->sizeFromContents(QStyle::CT_PushButton, &option, content);
}

QSize moreSize()
{
    QStyleOptionToolButton option = TransferRowGeometry::moreOption();
    option.rect.setSize(option.iconSize);
    return QApplication::style()->sizeFromContents(QStyle::CT_ToolButton, &option, option.iconSize);
}

// The first line holds the symbol, the name over the status, and the buttons.
int firstLineHeight()
{
    return std::max(
        {symbolEdge,
         QFontMetrics(TransferRowGeometry::nameFont()).height() + textGap + smallHeight(),
         pushButtonSize(QStringLiteral("Retry")).height(), moreSize().height()});
}

} // namespace

QFont TransferRowGeometry::nameFont()
{
    return UiStyle::font(13, QFont::DemiBold);
}

QFont TransferRowGeometry::smallFont()
{
    return UiStyle::font(10);
}

QFont TransferRowGeometry::buttonFont()
{
    return QApplication::font("QPushButton");
}

QStyleOptionToolButton TransferRowGeometry::moreOption()
{
    QStyleOptionToolButton option;
    const int edge = QApplication::style()->pixelMetric(QStyle::PM_ButtonIconSize);
    option.iconSize = QSize(edge, edge);
    option.toolButtonStyle = Qt::ToolButtonIconOnly;
    option.features = QStyleOptionToolButton::HasMenu;
    option.subControls = QStyle::SC_ToolButton;
    option.font = buttonFont();
    option.fontMetrics = QFontMetrics(option.font);
    return option;
}

int TransferRowGeometry::rowHeight()
{
    // The progress line and the detail line keep their room whatever the status.
    return 2 * margin + firstLineHeight() + 3 * lineGap + 2 * smallHeight() + progressHeight + gap;
}

TransferRowGeometry TransferRowGeometry::of(const QRect& row, int inset,
                                            const std::array<QString, 4>& buttonTexts)
{
    TransferRowGeometry shape;
    shape.card = row.adjusted(inset, 0, -inset, -gap);
    const QRect inner = shape.card.adjusted(margin, margin, -margin, -margin);
    const int line = firstLineHeight();
    shape.symbol = QRect(inner.left(), inner.top(), symbolEdge, symbolEdge);
    int right = inner.right() + 1;
    for (int at = int(shape.buttons.size()) - 1; at >= 0; --at) {
        const QSize size = TransferButton(at) == TransferButton::More
                               ? moreSize()
                               : pushButtonSize(buttonTexts[at]);
        right -= size.width();
        shape.buttons[at] = QRect(QPoint(right, inner.top() + (line - size.height()) / 2), size);
        right -= columnGap;
    }
    const int textLeft = shape.symbol.right() + 1 + columnGap;
    shape.name = QRect(textLeft, inner.top(), right - textLeft, QFontMetrics(nameFont()).height());
    shape.status =
        QRect(textLeft, shape.name.bottom() + 1 + textGap, right - textLeft, smallHeight());
    shape.destination =
        QRect(inner.left(), inner.top() + line + lineGap, inner.width(), smallHeight());
    shape.progress = QRect(inner.left(), shape.destination.bottom() + 1 + lineGap, inner.width(),
                           progressHeight);
    shape.detail =
        QRect(inner.left(), shape.progress.bottom() + 1 + lineGap, inner.width(), smallHeight());
    return shape;
}
