#include "analysis/tool_file_row.h"

#include "file_size_format.h"
#include "ui/file_menu.h"
#include "ui/media_thumbnail.h"
#include "ui/palette.h"
#include "ui/symbols.h"
#include "ui/ui_style.h"
#include "workspace/workspace_model.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

ToolFileRow::ToolFileRow(QWidget* parent)
    : CardFrame(8, parent), thumbnail_(new MediaThumbnail(64, this)),
      name_(UiStyle::label({}, 12, QFont::Medium, false, this)),
      folder_(UiStyle::label({}, 10, QFont::Normal, true, this)),
      size_(UiStyle::label({}, 10, QFont::Normal, false, this)),
      preview_(new QPushButton(tr("Preview"), this)), menu_(new QToolButton(this))
{
    setFill([] { return UiStyle::withAlpha(Palette::surface(), 0.5); });
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(10, 10, 10, 10);
    row->setSpacing(12);
    thumbnail_->setFixedSize(32, 32);
    row->addWidget(thumbnail_);
    auto* text = new QVBoxLayout;
    text->setSpacing(4);
    // Long names and paths are cut, never wrapped, so every row keeps one height.
    for (QLabel* label : {name_, folder_}) {
        label->setMinimumWidth(1);
        label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        text->addWidget(label);
    }
    row->addLayout(text, 1);
    size_->setFont(UiStyle::digits(10));
    row->addWidget(size_);
    row->addWidget(preview_);
    menu_->setAutoRaise(true);
    menu_->setIcon(symbolIcon(QStringLiteral("ellipsis")));
    menu_->setText(QStringLiteral("…"));
    menu_->setFixedWidth(22);
    menu_->setToolTip(tr("More actions"));
    menu_->setAccessibleName(tr("More actions"));
    row->addWidget(menu_);
    // Made when asked for, so a page of rows costs no menus and the items
    // reflect the selection at that moment.
    connect(menu_, &QToolButton::clicked, this, [this] {
        if (!model_) return;
        auto* menu = new QMenu(this);
        menu->setAttribute(Qt::WA_DeleteOnClose);
        fillFileMenu(*menu, *model_, file_, sameFileAs_.isEmpty());
        menu->popup(menu_->mapToGlobal(QPoint(0, menu_->height())));
    });
    connect(preview_, &QPushButton::clicked, this, [this] {
        if (model_) model_->open(file_);
    });
}

void ToolFileRow::set(WorkspaceModel* model, const FileEntry& file, const QString& sameFileAs)
{
    model_ = model;
    if (file == file_ && sameFileAs == sameFileAs_) return;
    file_ = file;
    sameFileAs_ = sameFileAs;
    thumbnail_->setFile(file);
    name_->setText(file.name);
    name_->setToolTip(file.path);
    folder_->setText(sameFileAs.isEmpty()
                         ? QFileInfo(file.path).path()
                         : tr("Same file as \u201C%1\u201D").arg(QFileInfo(sameFileAs).fileName()));
    folder_->setToolTip(sameFileAs);
    size_->setText(formatFileSize(file.size));
}

QString ToolFileRow::detail() const
{
    return folder_->text();
}
