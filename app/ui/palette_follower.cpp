#include "ui/palette_follower.h"

#include "ui/symbols.h"

#include <QApplication>
#include <QEvent>
#include <QLabel>

namespace {

class PaletteFollower : public QObject {
public:
    PaletteFollower(QWidget* widget, std::function<void()> restyle)
        : QObject(widget), restyle_(std::move(restyle))
    {
        // The application hears of every change of its palette, whether or
        // not it reaches this widget.
        qApp->installEventFilter(this);
        restyle_();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        // Later, once every widget has taken on the new palette.
        if (watched == qApp && event->type() == QEvent::ApplicationPaletteChange)
            QMetaObject::invokeMethod(
                this, [this] { restyle_(); }, Qt::QueuedConnection);
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> restyle_;
};

} // namespace

void followPalette(QWidget* widget, std::function<void()> restyle)
{
    new PaletteFollower(widget, std::move(restyle));
}

QLabel* symbolLabel(const QString& symbol, int edge, std::function<QColor()> tint, QWidget* parent)
{
    auto* label = new QLabel(parent);
    followPalette(label, [label, symbol, edge, tint = std::move(tint)] {
        label->setPixmap(symbolPixmap(symbol, edge, tint ? tint() : QColor()));
    });
    return label;
}
