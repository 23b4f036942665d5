#include "ui/section_view.h"

#include <QScrollArea>
#include <QVBoxLayout>

QVBoxLayout* SectionView::makeScrollingColumn(QScrollArea*& scroll)
{
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    scroll = new QScrollArea(this);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    outer->addWidget(scroll);
    auto* content = new QWidget(scroll);
    scroll->setWidget(content);
    auto* column = new QVBoxLayout(content);
    column->setContentsMargins(24, 20, 24, 24);
    column->setSpacing(18);
    return column;
}
