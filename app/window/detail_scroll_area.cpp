#include "window/detail_scroll_area.h"

#include <QApplication>
#include <QEvent>
#include <QLayout>
#include <QScrollBar>
#include <QTimer>
#include <QWheelEvent>

DetailScrollArea::DetailScrollArea(QWidget* page, QWidget* parent) : QScrollArea(parent)
{
    // The page scrolls with the wheel and the body's keys; the area itself takes no Tab stop.
    setFocusPolicy(Qt::NoFocus);
    setFrameShape(QFrame::NoFrame);
    setWidgetResizable(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setWidget(page);
    viewport()->setAutoFillBackground(false);
    page->setAutoFillBackground(false);
    page->installEventFilter(this);
    verticalScrollBar()->setSingleStep(20);
}

void DetailScrollArea::setBody(QAbstractScrollArea* body)
{
    if (body == body_) {
        fitLater();
        return;
    }
    if (body_) {
        body_->viewport()->removeEventFilter(this);
        body_->verticalScrollBar()->disconnect(this);
    }
    body_ = body;
    if (body) {
        body->viewport()->installEventFilter(this);
        // Scrolling the body by any means (keys, its scroll bar) hides the
        // heading first, so the results always start at the top of the area.
        connect(body->verticalScrollBar(), &QScrollBar::valueChanged, this, [this](int value) {
            if (body_ && value > body_->verticalScrollBar()->minimum())
                verticalScrollBar()->setValue(
                    std::min(collapsibleHeight(), verticalScrollBar()->maximum()));
        });
    }
    fit();
}

int DetailScrollArea::collapsibleHeight() const
{
    if (!body_ || !widget() || !body_->isVisibleTo(widget())) return 0;
    return body_->mapTo(widget(), QPoint(0, 0)).y() - lead();
}

// What stays with the body above it in its own frame (a list's column
// headings), so that it scrolls away only with the body.
int DetailScrollArea::lead() const
{
    if (!body_ || body_->parentWidget() == widget()) return 0;
    return body_->y();
}

void DetailScrollArea::reset()
{
    verticalScrollBar()->setValue(0);
}

void DetailScrollArea::resizeEvent(QResizeEvent* event)
{
    QScrollArea::resizeEvent(event);
    fit();
}

bool DetailScrollArea::viewportEvent(QEvent* event)
{
    // The page scroll bar coming or going changes the width the page has.
    if (event->type() == QEvent::Resize) fitLater();
    return QScrollArea::viewportEvent(event);
}

bool DetailScrollArea::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == widget()) {
        if (event->type() == QEvent::LayoutRequest || event->type() == QEvent::Show) fitLater();
        return QScrollArea::eventFilter(watched, event);
    }
    if (body_ && watched == body_->viewport() && event->type() == QEvent::Wheel) {
        auto* wheel = static_cast<QWheelEvent*>(event);
        const QPoint angle = wheel->angleDelta();
        if (std::abs(angle.x()) > std::abs(angle.y()) || wheel->modifiers() != Qt::NoModifier)
            return false;
        const QPoint pixels = wheel->pixelDelta();
        const int step = pixels.isNull()
                             ? int(-angle.y() / 120.0 * QApplication::wheelScrollLines() *
                                   body_->verticalScrollBar()->singleStep())
                             : -pixels.y();
        return scrollNested(step);
    }
    return QScrollArea::eventFilter(watched, event);
}

bool DetailScrollArea::scrollNested(int pixels)
{
    // Down: the heading goes, then the body scrolls, then what is under it
    // comes up. Up: the same in reverse.
    QScrollBar* page = verticalScrollBar();
    const QScrollBar* bodyBar = body_->verticalScrollBar();
    const int top = std::min(collapsibleHeight(), page->maximum());
    const int at = page->value();
    if (pixels > 0) {
        if (at < top)
            page->setValue(std::min(at + pixels, top));
        else if (bodyBar->value() < bodyBar->maximum())
            return false;
        else
            page->setValue(at + pixels);
    } else {
        if (at > top)
            page->setValue(std::max(at + pixels, top));
        else if (bodyBar->value() > bodyBar->minimum())
            return false;
        else
            page->setValue(at + pixels);
    }
    return true;
}

void DetailScrollArea::fitLater()
{
    if (fitQueued_) return;
    fitQueued_ = true;
    QTimer::singleShot(0, this, &DetailScrollArea::fit);
}

void DetailScrollArea::fit()
{
    fitQueued_ = false;
    QWidget* page = widget();
    if (!page || fitting_) return;
    fitting_ = true;
    const bool hasBody = body_ && body_->isVisibleTo(page);
    // With a body, its own scroll bar is the one the user sees.
    setVerticalScrollBarPolicy(hasBody ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAsNeeded);
    const int width = viewport()->width();
    const int room = viewport()->height();
    const int minimum = page->minimumSizeHint().height();
    if (hasBody) {
        // The body takes what the page gains or loses, so this settles in a
        // pass or two: the body is as tall as the whole area.
        if (page->width() != width) page->resize(width, page->height());
        for (int pass = 0; pass < 3; ++pass) {
            const int wanted = std::max(minimum, page->height() + room - lead() - body_->height());
            if (page->height() == wanted) break;
            page->resize(width, wanted);
            if (page->layout()) page->layout()->activate();
        }
    } else {
        const int natural = page->hasHeightForWidth() ? page->heightForWidth(width) : minimum;
        page->resize(width, std::max({room, minimum, natural}));
    }
    fitting_ = false;
}
