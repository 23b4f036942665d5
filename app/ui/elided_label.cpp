#include "ui/elided_label.h"

#include "ui/ui_style.h"

#include <QEvent>

ElidedLabel::ElidedLabel(Qt::TextElideMode mode, QWidget* parent) : QLabel(parent), mode_(mode)
{
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    setMinimumWidth(1);
}

ElidedLabel* ElidedLabel::make(qreal points, QFont::Weight weight, bool secondary,
                               Qt::TextElideMode mode, QWidget* parent)
{
    auto* label = new ElidedLabel(mode, parent);
    label->setFont(UiStyle::font(points, weight));
    if (secondary) label->setForegroundRole(QPalette::PlaceholderText);
    return label;
}

void ElidedLabel::setText(const QString& text)
{
    full_ = text;
    setToolTip(text);
    elide();
    updateGeometry();
}

QSize ElidedLabel::minimumSizeHint() const
{
    return QSize(1, fontMetrics().height() + 2 * margin());
}

QSize ElidedLabel::sizeHint() const
{
    return QSize(fontMetrics().horizontalAdvance(full_) + 2 * margin() + 1,
                 minimumSizeHint().height());
}

void ElidedLabel::resizeEvent(QResizeEvent* event)
{
    QLabel::resizeEvent(event);
    elide();
}

void ElidedLabel::changeEvent(QEvent* event)
{
    QLabel::changeEvent(event);
    if (event->type() == QEvent::FontChange) elide();
}

void ElidedLabel::elide()
{
    const int room = contentsRect().width() - 2 * margin();
    QLabel::setText(fontMetrics().elidedText(full_, mode_, std::max(0, room)));
}
