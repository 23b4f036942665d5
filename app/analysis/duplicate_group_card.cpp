#include "duplicate_group_card.h"

#include "file_size_format.h"
#include "palette.h"
#include "tool_file_row.h"
#include "ui_style.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

DuplicateGroupCard::DuplicateGroupCard(QWidget* parent)
    : CardFrame(12, parent), title_(UiStyle::label({}, 13, QFont::DemiBold, false, this)),
      each_(UiStyle::label({}, 10, QFont::Normal, true, this))
{
    setFill([] { return Palette::surface(); });
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(16, 16, 16, 16);
    column->setSpacing(10);
    auto* header = new QHBoxLayout;
    header->addWidget(title_);
    header->addStretch();
    header->addWidget(each_);
    column->addLayout(header);
    rows_ =
        std::make_unique<RowPool<ToolFileRow>>(column, [this] { return new ToolFileRow(this); });
}

DuplicateGroupCard::~DuplicateGroupCard() = default;

void DuplicateGroupCard::set(WorkspaceModel* model, const QList<FileEntry>& group)
{
    title_->setText(QString::number(group.size()) + QStringLiteral(" matching copies"));
    each_->setText(group.isEmpty() ? QString()
                                   : formatFileSize(group.first().size) + QStringLiteral(" each"));
    for (int at = 0; at < int(group.size()); ++at)
        rows_->at(at)->set(model, group[at]);
    rows_->showFirst(int(group.size()));
}

QString DuplicateGroupCard::title() const
{
    return title_->text();
}

QList<ToolFileRow*> DuplicateGroupCard::rows() const
{
    QList<ToolFileRow*> shown;
    for (ToolFileRow* row : findChildren<ToolFileRow*>(Qt::FindDirectChildrenOnly))
        if (!row->isHidden()) shown << row;
    return shown;
}
