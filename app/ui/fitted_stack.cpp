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

int FittedStack::indexOf(const QWidget* page) const
{
    for (int i = 0; i < pages_.size(); ++i)
        if (pages_[i] == page) return i;
    return -1;
}

void FittedStack::setCurrentWidget(QWidget* page)
{
    if (!page || page == current_ || indexOf(page) < 0) return;
    // Show the new page before hiding the old, so focus does not wander off the stack.
    page->show();
    if (current_) current_->hide();
    current_ = page;
    Q_EMIT currentChanged(indexOf(page));
}
