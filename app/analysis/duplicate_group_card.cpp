#include "analysis/duplicate_group_card.h"

#include "file_size_format.h"
#include "ui/file_card_list.h"
#include "ui/file_card_model.h"
#include "ui/palette.h"
#include "ui/ui_style.h"
#include "workspace/workspace_model.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>
#include <limits>

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
    // Every copy is shown: one page as large as any group.
    files_ = new FileCardModel(std::numeric_limits<int>::max(), this);
    rows_ = new FileCardList(files_, FileCardDelegate::Look::Tool, 10, this);
    column->addWidget(rows_);
}

DuplicateGroupCard::~DuplicateGroupCard() = default;

void DuplicateGroupCard::set(WorkspaceModel* model, const QList<FileEntry>& group)
{
    title_->setText(tr("%n matching copies", nullptr, int(group.size())));
    each_->setText(group.isEmpty() ? QString()
                                   : tr("%1 each").arg(formatFileSize(group.first().size)));
    // Only this group's links, so the rows stay put when other groups change.
    QHash<QString, QString> sameFileAs;
    if (model)
        for (const FileEntry& file : group)
            if (const auto link = model->sameFileAs().constFind(file.path);
                link != model->sameFileAs().constEnd())
                sameFileAs.insert(link.key(), link.value());
    files_->setWorkspace(model);
    files_->setFiles(group, std::move(sameFileAs));
}

QString DuplicateGroupCard::title() const
{
    return title_->text();
}
