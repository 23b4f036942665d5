#include "ui/focus_ring.h"

#include <QAbstractButton>
#include <QApplication>
#include <QEvent>
#include <QPainter>
#include <QPushButton>
#include <QStyle>

namespace {

constexpr int margin = 2;

bool marksItsOwnFocus(const QWidget* widget)
{
    if (!qobject_cast<const QAbstractButton*>(widget)) return true;
    if (const auto* push = qobject_cast<const QPushButton*>(widget); push && push->isFlat())
        return false;
    // Style-sheet buttons are drawn without the style's focus rectangle.
    return !widget->style()->inherits("QStyleSheetStyle");
}

} // namespace

FocusRing::FocusRing(QWidget* window) : QWidget(window), window_(window)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    hide();
    connect(qApp, &QApplication::focusChanged, this,
            [this](QWidget*, QWidget* now) { follow(now); });
}

void FocusRing::install(QWidget* window)
{
    new FocusRing(window);
}

void FocusRing::follow(QWidget* focused)
{
    if (target_) target_->removeEventFilter(this);
    target_ = nullptr;
    const bool byKeyboard = window_->testAttribute(Qt::WA_KeyboardFocusChange);
    if (!focused || !byKeyboard || focused->window() != window_ || marksItsOwnFocus(focused) ||
        !focused->parentWidget()) {
        hide();
        return;
    }
    target_ = focused;
    target_->installEventFilter(this);
    setParent(focused->parentWidget());
    place();
    show();
    raise();
}

void FocusRing::place()
{
    if (target_) setGeometry(target_->geometry().adjusted(-margin, -margin, margin, margin));
}

bool FocusRing::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == target_) {
        if (event->type() == QEvent::Move || event->type() == QEvent::Resize) place();
        if (event->type() == QEvent::Hide) hide();
    }
    return QWidget::eventFilter(watched, event);
}

void FocusRing::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPen pen(palette().color(QPalette::Highlight), 2);
    painter.setPen(pen);
    painter.drawRoundedRect(QRectF(rect()).adjusted(1, 1, -1, -1), 6, 6);
}
