#include "window/section_heading.h"

#include "ui/symbols.h"
#include "ui/ui_style.h"
#include "workspace/workspace_model.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

SectionHeading::SectionHeading(QWidget* parent)
    : QWidget(parent), crumb_(UiStyle::label({}, 11, QFont::Normal, true)),
      title_(UiStyle::label({}, 29, QFont::Bold)),
      subtitle_(UiStyle::label({}, 12, QFont::Normal, true)),
      folder_(new QPushButton(symbolIcon(QStringLiteral("folder.badge.plus")), {}))
{
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    auto* column = new QVBoxLayout;
    column->setSpacing(6);
    column->addWidget(crumb_);
    column->addWidget(title_);
    column->addWidget(subtitle_);
    row->addLayout(column, 1);
    folder_->setDefault(false);
    folder_->setAutoDefault(false);
    row->addWidget(folder_, 0, Qt::AlignTop | Qt::AlignRight);
    crumb_->setTextFormat(Qt::RichText);
    connect(folder_, &QPushButton::clicked, this, [this] {
        if (model_) model_->chooseFolder();
    });
}

void SectionHeading::setModel(WorkspaceModel* model)
{
    model_ = model;
    if (!model) return;
    const Feature feature = model->feature();
    const QString name = titleOf(feature).toHtmlEscaped();
    const QString current = QStringLiteral("<span style=\"color:%1\">%2</span>")
                                .arg(palette().color(QPalette::WindowText).name(), name);
    crumb_->setText(tr("⌂ Workspace &nbsp;›&nbsp; %1", "%1 is the section").arg(current));
    title_->setText(titleOf(feature));
    subtitle_->setText(subtitleOf(feature));
    folder_->setText(feature == Feature::Transfers ? tr("Destination folder…")
                                                   : tr("Filter by folder…"));
}
