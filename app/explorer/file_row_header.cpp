#include "explorer/file_row_header.h"

#include "ui/file_delegates.h"
#include "ui/ui_style.h"

#include <QAbstractItemView>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>

namespace {

QLabel* heading(const QString& text)
{
    QLabel* label = UiStyle::label(text, 9, QFont::DemiBold, true);
    QFont font = label->font();
    font.setLetterSpacing(QFont::AbsoluteSpacing, 1);
    label->setFont(font);
    return label;
}

} // namespace

FileRowHeader::FileRowHeader(QAbstractItemView* rows, QWidget* parent)
    : QWidget(parent), rows_(rows), modified_(heading(tr("MODIFIED"))), size_(heading(tr("SIZE")))
{
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(12 + 30 + 10, 12, 12, 12);
    row->setSpacing(10);
    QLabel* name = heading(tr("NAME"));
    name->setMinimumWidth(1);
    name->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    row->addWidget(name, 1);
    modified_->setFixedWidth(FileRowDelegate::dateWidth);
    row->addWidget(modified_);
    size_->setFixedWidth(FileRowDelegate::sizeWidth);
    size_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    row->addWidget(size_);
    rows_->viewport()->installEventFilter(this);
    follow();
}

bool FileRowHeader::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == rows_->viewport() && event->type() == QEvent::Resize) follow();
    return QWidget::eventFilter(watched, event);
}

void FileRowHeader::follow()
{
    const FileRowDelegate::Columns columns =
        FileRowDelegate::columnsFor(rows_->viewport()->width());
    modified_->setVisible(columns.date);
    size_->setVisible(columns.size);
    // The rows end where the list's scroll bar begins.
    const int bar = rows_->width() - rows_->viewport()->width();
    layout()->setContentsMargins(12 + 30 + 10, 12, 12 + std::max(0, bar), 12);
}
