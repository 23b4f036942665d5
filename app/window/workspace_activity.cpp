#include "window/workspace_activity.h"

#include "sections/named_colors.h"
#include "ui/palette_follower.h"
#include "ui/spinner.h"
#include "ui/symbols.h"
#include "workspace/workspace_model.h"

#include <QHBoxLayout>
#include <QLabel>

WorkspaceActivity::WorkspaceActivity(QWidget* parent)
    : QWidget(parent), spinner_(new Spinner(13)), marker_(new QLabel)
{
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(spinner_);
    row->addWidget(marker_);
    spinner_->setToolTip(tr("Working in the background"));
    followPalette(marker_, [marker = marker_] {
        marker->setPixmap(
            symbolPixmap(QStringLiteral("exclamationmark.circle.fill"), 14,
                         NamedColors::inAppearance(QColor::fromRgba(NamedColors::orange))));
    });
    spinner_->hide();
    marker_->hide();
    hide();
}

WorkspaceActivity::State WorkspaceActivity::stateOf(const WorkspaceModel& model)
{
    bool transferring = false;
    if (model.feature() == Feature::Transfers)
        for (const TransferItem& item : model.transfers())
            if (item.status == TransferStatus::Copying || item.status == TransferStatus::Queued)
                transferring = true;
    if (model.busy() || model.readingMetadata() || model.isFiltering() || transferring)
        return State::Working;
    if (model.error()) return State::Failed;
    return State::Idle;
}

void WorkspaceActivity::setModel(WorkspaceModel* model)
{
    connections_.clear();
    model_ = model;
    connections_.follow(model,
                        {&WorkspaceModel::activityChanged, &WorkspaceModel::readingMetadataChanged,
                         &WorkspaceModel::isFilteringChanged, &WorkspaceModel::transfersChanged,
                         &WorkspaceModel::errorChanged},
                        this, &WorkspaceActivity::update);
    update();
}

void WorkspaceActivity::update()
{
    state_ = model_ ? stateOf(*model_) : State::Idle;
    spinner_->setVisible(state_ == State::Working);
    marker_->setVisible(state_ == State::Failed);
    if (state_ == State::Failed) marker_->setToolTip(model_->error().value_or(QString()));
    setVisible(state_ != State::Idle);
}
