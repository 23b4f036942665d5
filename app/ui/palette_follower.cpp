#include "palette_follower.h"

#include "symbols.h"

#include <QEvent>
#include <QLabel>

namespace {

class PaletteFollower : public QObject {
public:
    PaletteFollower(QWidget* widget, std::function<void()> restyle)
        : QObject(widget), restyle_(std::move(restyle))
    {
        widget->installEventFilter(this);
        restyle_();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        // Sent once to every widget per change of the application palette,
        // unlike PaletteChange, which a style sheet's own palette also raises.
        if (event->type() == QEvent::ApplicationPaletteChange) restyle_();
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

QLabel* symbolLabel(const QString& symbol, int edge, std::function<QColor()> tint,
                    QWidget* parent)
{
    auto* label = new QLabel(parent);
    followPalette(label, [label, symbol, edge, tint = std::move(tint)] {
        label->setPixmap(symbolPixmap(symbol, edge, tint ? tint() : QColor()));
    });
    return label;
}
