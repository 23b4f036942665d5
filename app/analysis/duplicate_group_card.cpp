#include "analysis/duplicate_group_card.h"

#include "analysis/tool_file_row.h"
#include "file_size_format.h"
#include "ui/palette.h"
#include "ui/ui_style.h"
#include "workspace/workspace_model.h"

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
    const int count = int(group.size());
    rows_->fill(count, count, [&](ToolFileRow* row, int at) {
        row->set(model, group[at], model ? model->sameFileAs().value(group[at].path) : QString());
    });
}

QString DuplicateGroupCard::title() const
{
    return title_->text();
}

QList<ToolFileRow*> DuplicateGroupCard::rows() const
{
    return rows_->shownRows();
}
