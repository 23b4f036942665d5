#include "ui/fitted_stack.h"

#include <QVBoxLayout>

FittedStack::FittedStack(QWidget* parent) : QWidget(parent), layout_(new QVBoxLayout(this))
{
    layout_->setContentsMargins(0, 0, 0, 0);
    layout_->setSpacing(0);
}

void FittedStack::addWidget(QWidget* page)
{
    pages_ << page;
    layout_->addWidget(page, 1);
    if (!current_)
        current_ = page;
    else
        page->hide();
}

void FittedStack::focusOn(QWidget* page)
{
    // The widget that last had the focus on the page, else its first that takes it.
    if (QWidget* last = page->focusWidget()) {
        last->setFocus();
        return;
    }
    for (QWidget* child : page->findChildren<QWidget*>()) {
        if ((child->focusPolicy() & Qt::TabFocus) && child->isVisibleTo(page) &&
            child->isEnabled()) {
            child->setFocus();
            return;
        }
    }
    page->setFocus();
}

int FittedStack::indexOf(const QWidget* page) const
{
    for (int i = 0; i < pages_.size(); ++i)
        if (pages_[i] == page) return i;
    return -1;
}

void FittedStack::setCurrentWidget(QWidget* page)
{
    if (!page || page == current_ || indexOf(page) < 0) return;
    const QWidget* focus = window()->focusWidget();
    const bool focusOnOld = focus && current_ && current_->isAncestorOf(focus);
    page->show();
    // Hiding the focused page would send the focus on to whatever comes next
    // in the window (the sidebar), and scroll that into view. It goes to the
    // new page instead, as a stacked widget does, and comes back with its own.
    if (focusOnOld) focusOn(page);
    if (current_) current_->hide();
    current_ = page;
    Q_EMIT currentChanged(indexOf(page));
}
