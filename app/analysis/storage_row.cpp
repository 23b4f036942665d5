#include "analysis/storage_row.h"

#include "file_size_format.h"
#include "storage_node.h"
#include "ui/palette.h"
#include "ui/symbols.h"
#include "ui/ui_style.h"

#include <QApplication>
#include <QPainter>

StorageRow::StorageRow(QWidget* parent) : QAbstractButton(parent)
{
    setFixedHeight(height);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::TabFocus);
}

void StorageRow::set(const StorageNode* node, bool drill)
{
    node_ = node;
    drill_ = drill;
    setToolTip(node ? node->path() : QString());
    setAccessibleName(node ? node->name() : QString());
    update();
}

void StorageRow::paint(QPainter& painter, const QRectF& rect, const StorageNode& node, bool drill,
                       bool highlighted)
{
    painter.save();
    if (highlighted) UiStyle::card(painter, rect, 6, UiStyle::quaternaryFill());
    const QRectF inner = rect.adjusted(10, 7, -10, -7);
    const bool folder = node.isDirectory();
    const int edge = 16;
    const QPixmap symbol =
        folder ? symbolPixmap(QStringLiteral("folder.fill"), edge, Palette::blue())
               : symbolPixmap(QStringLiteral("doc.fill"), edge, UiStyle::secondaryText());
    painter.drawPixmap(QPointF(inner.left(), inner.center().y() - edge / 2.0), symbol);

    qreal right = inner.right();
    if (folder && drill) {
        const QPixmap chevron =
            symbolPixmap(QStringLiteral("chevron.right"), 11, UiStyle::secondaryText());
        painter.drawPixmap(QPointF(right - 11, inner.center().y() - 5.5), chevron);
        right -= 11 + 8;
    }
    const QFont caption = UiStyle::font(10);
    painter.setFont(UiStyle::digits(10));
    painter.setPen(QApplication::palette().color(QPalette::Text));
    const QRectF bytes(right - 85, inner.top(), 85, inner.height());
    painter.drawText(bytes, Qt::AlignRight | Qt::AlignVCenter, formatFileSize(node.bytes()));

    const qreal left = inner.left() + edge + 10;
    QRectF text(left, inner.top(), bytes.left() - 10 - left, inner.height());
    const QFont name = UiStyle::font(12);
    painter.setFont(name);
    const QFontMetricsF nameMetrics(name);
    QString count;
    if (folder) count = tr("%n files", nullptr, int(node.fileCount()));
    const qreal countWidth = folder ? QFontMetricsF(caption).horizontalAdvance(count) + 8 : 0;
    const QString shown =
        nameMetrics.elidedText(node.name(), Qt::ElideMiddle, text.width() - countWidth);
    painter.drawText(text, Qt::AlignLeft | Qt::AlignVCenter, shown);
    if (folder) {
        painter.setFont(caption);
        painter.setPen(UiStyle::secondaryText());
        text.setLeft(text.left() + nameMetrics.horizontalAdvance(shown) + 8);
        painter.drawText(text, Qt::AlignLeft | Qt::AlignVCenter, count);
    }
    painter.restore();
}

void StorageRow::paintEvent(QPaintEvent*)
{
    if (!node_) return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    paint(painter, rect(), *node_, drill_, hovered_ || isDown() || hasFocus());
}

void StorageRow::enterEvent(QEnterEvent* event)
{
    hovered_ = true;
    update();
    QAbstractButton::enterEvent(event);
}

void StorageRow::leaveEvent(QEvent* event)
{
    hovered_ = false;
    update();
    QAbstractButton::leaveEvent(event);
}
