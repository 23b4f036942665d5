#include "explorer/layout_picker.h"

#include "ui/palette.h"
#include "ui/symbols.h"
#include "ui/ui_style.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QPainter>
#include <QToolButton>

namespace {

QString shownName(BrowserMode mode)
{
    switch (mode) {
    case BrowserMode::Grid:
        return QCoreApplication::translate("LayoutPicker", "Grid");
    case BrowserMode::List:
        return QCoreApplication::translate("LayoutPicker", "List");
    case BrowserMode::Column:
        return QCoreApplication::translate("LayoutPicker", "Column");
    case BrowserMode::Gallery:
        return QCoreApplication::translate("LayoutPicker", "Gallery");
    }
    return {};
}

// One button of the picker, painted from the palette of the moment so it
// follows the appearance.
class Segment : public QToolButton {
public:
    Segment(BrowserMode mode, QWidget* parent) : QToolButton(parent), symbol_(iconOf(mode))
    {
        const QString name = shownName(mode);
        setToolTip(name);
        setAccessibleName(name);
        setCheckable(true);
        setAutoRaise(true);
        setFixedSize(28, 26);
        setCursor(Qt::PointingHandCursor);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        // The text background can be the capsule's own colour; a hairline
        // keeps the current segment apart from it.
        if (isChecked())
            UiStyle::card(painter, QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 5,
                          palette().color(QPalette::Base), Palette::line());
        else if (underMouse())
            UiStyle::card(painter, QRectF(rect()), 5, UiStyle::withAlpha(Palette::line(), 0.5));
        const qreal ratio = devicePixelRatioF();
        QPixmap glyph = symbolPixmap(symbol_, int(14 * ratio),
                                     isChecked() ? Palette::blue() : UiStyle::secondaryText());
        glyph.setDevicePixelRatio(ratio);
        painter.drawPixmap(QPointF((width() - 14) / 2.0, (height() - 14) / 2.0), glyph);
        if (hasFocus())
            UiStyle::card(painter, QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 5, QColor(),
                          UiStyle::withAlpha(Palette::blue(), 0.6));
    }

private:
    QString symbol_;
};

} // namespace

LayoutPicker::LayoutPicker(QWidget* parent) : CardFrame(7, parent)
{
    setFill([] { return Palette::surface(); });
    setBorder([] { return Palette::line(); });
    setAccessibleName(tr("Layout"));
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(3, 3, 3, 3);
    row->setSpacing(2);
    for (BrowserMode mode : allCases<BrowserMode>()) {
        auto* segment = new Segment(mode, this);
        connect(segment, &QToolButton::clicked, this, [this, mode] {
            setCurrent(mode);
            Q_EMIT chosen(mode);
        });
        row->addWidget(segment);
        buttons_ << segment;
    }
    setCurrent(BrowserMode::Grid);
}

QToolButton* LayoutPicker::button(BrowserMode mode) const
{
    const auto modes = allCases<BrowserMode>();
    return buttons_.value(int(std::find(modes.begin(), modes.end(), mode) - modes.begin()));
}

void LayoutPicker::setCurrent(BrowserMode mode)
{
    current_ = mode;
    for (BrowserMode each : allCases<BrowserMode>())
        button(each)->setChecked(each == mode);
}
