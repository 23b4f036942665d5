#include "ui/overlay_scroll_bar.h"

#include "ui/ui_style.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QPainter>
#include <QProxyStyle>
#include <QScrollBar>
#include <QStyleFactory>
#include <QStyleOptionSlider>

namespace {

// Only the handle, as a rounded bar in the text colour, and no room taken.
class OverlayScrollStyle : public QProxyStyle {
public:
    static constexpr int extent = 6;

    OverlayScrollStyle() : QProxyStyle(QStyleFactory::create(QApplication::style()->name())) {}

    int pixelMetric(PixelMetric metric, const QStyleOption* option,
                    const QWidget* widget) const override
    {
        if (metric == PM_ScrollBarExtent || metric == PM_ScrollView_ScrollBarOverlap) return extent;
        if (metric == PM_ScrollBarSliderMin) return 24;
        return QProxyStyle::pixelMetric(metric, option, widget);
    }

    QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl part,
                         const QWidget* widget) const override
    {
        const auto* bar = qstyleoption_cast<const QStyleOptionSlider*>(option);
        if (control != CC_ScrollBar || !bar) {
            return QProxyStyle::subControlRect(control, option, part, widget);
        }
        // No arrow buttons: the groove is the whole bar.
        const QRect whole = bar->rect;
        const bool vertical = bar->orientation == Qt::Vertical;
        const int length = vertical ? whole.height() : whole.width();
        const int span = bar->maximum - bar->minimum;
        const int handle =
            span <= 0 ? length
                      : std::clamp(int(qint64(length) * bar->pageStep / (span + bar->pageStep)),
                                   pixelMetric(PM_ScrollBarSliderMin, option, widget), length);
        const int offset = sliderPositionFromValue(bar->minimum, bar->maximum, bar->sliderPosition,
                                                   length - handle, bar->upsideDown);
        const QRect slider =
            vertical ? QRect(whole.left(), whole.top() + offset, whole.width(), handle)
                     : QRect(whole.left() + offset, whole.top(), handle, whole.height());
        switch (part) {
        case SC_ScrollBarSlider:
            return slider;
        case SC_ScrollBarGroove:
            return whole;
        case SC_ScrollBarAddPage:
            return vertical ? QRect(whole.left(), slider.bottom() + 1, whole.width(),
                                    whole.bottom() - slider.bottom())
                            : QRect(slider.right() + 1, whole.top(), whole.right() - slider.right(),
                                    whole.height());
        case SC_ScrollBarSubPage:
            return vertical ? QRect(whole.left(), whole.top(), whole.width(), offset)
                            : QRect(whole.left(), whole.top(), offset, whole.height());
        default:
            return {};
        }
    }

    SubControl hitTestComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                                     const QPoint& point, const QWidget* widget) const override
    {
        if (control != CC_ScrollBar)
            return QProxyStyle::hitTestComplexControl(control, option, point, widget);
        for (SubControl part : {SC_ScrollBarSlider, SC_ScrollBarAddPage, SC_ScrollBarSubPage})
            if (subControlRect(control, option, part, widget).contains(point)) return part;
        return SC_None;
    }

    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                            QPainter* painter, const QWidget* widget) const override
    {
        if (control != CC_ScrollBar) {
            QProxyStyle::drawComplexControl(control, option, painter, widget);
            return;
        }
        const QRectF handle = QRectF(subControlRect(control, option, SC_ScrollBarSlider, widget))
                                  .adjusted(1, 1, -1, -1);
        const bool active = option->state & (State_MouseOver | State_Sunken);
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        UiStyle::card(
            *painter, handle, std::min(handle.width(), handle.height()) / 2,
            UiStyle::withAlpha(option->palette.color(QPalette::Text), active ? 0.45 : 0.28));
        painter->restore();
    }
};

} // namespace

void useOverlayScrollBar(QAbstractScrollArea* area)
{
    auto* style = new OverlayScrollStyle;
    style->setParent(area);
    area->verticalScrollBar()->setStyle(style);
    area->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
}
