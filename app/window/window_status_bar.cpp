#include "window/window_status_bar.h"

#include "ui/palette.h"
#include "ui/palette_follower.h"
#include "ui/symbols.h"
#include "ui/ui_style.h"
#include "window/volume_usage.h"
#include "workspace/activity_text.h"
#include "workspace/workspace_model.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>

WindowStatusBar::WindowStatusBar(QWidget* parent)
    : QWidget(parent), dot_(new QLabel), activity_(UiStyle::label({}, 10, QFont::Normal, true)),
      count_(UiStyle::label({}, 10, QFont::Normal, true)),
      space_(UiStyle::label({}, 10, QFont::Normal, true))
{
    setFixedHeight(33);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(25, 0, 25, 0);
    row->setSpacing(7);
    dot_->setFixedSize(5, 5);
    dot_->setStyleSheet(QStringLiteral("background: #34c759; border-radius: 2px;"));
    row->addWidget(dot_);
    row->addWidget(activity_);
    auto* separator = new QLabel;
    separator->setFixedSize(1, 11);
    followPalette(separator, [separator] {
        separator->setStyleSheet(
            QStringLiteral("background: %1;").arg(Palette::line().name(QColor::HexArgb)));
    });
    row->addWidget(separator);
    row->addWidget(count_);
    row->addStretch(1);
    row->addWidget(symbolLabel(QStringLiteral("internaldrive"), 12, &UiStyle::secondaryText));
    row->addWidget(space_);
}

void WindowStatusBar::setModel(WorkspaceModel* model)
{
    connections_.clear();
    model_ = model;
    // Each part follows only what it shows: a click must not re-filter the
    // list or ask the volume again.
    connections_.follow(model, {&WorkspaceModel::activityChanged}, this,
                        &WindowStatusBar::updateActivity);
    connections_.follow(model,
                        {&WorkspaceModel::filesChanged, &WorkspaceModel::libraryResultChanged,
                         &WorkspaceModel::queryChanged},
                        this, &WindowStatusBar::updateVisibleCount);
    connections_.follow(model, {&WorkspaceModel::selectionChanged}, this,
                        &WindowStatusBar::updateCount);
    connections_.follow(model, {&WorkspaceModel::folderChanged}, this,
                        &WindowStatusBar::updateSpace);
    if (!model) return;
    updateActivity();
    updateVisibleCount();
    updateSpace();
}

QString WindowStatusBar::activityText() const
{
    return activity_->text();
}

QString WindowStatusBar::countText() const
{
    return count_->text();
}

void WindowStatusBar::updateActivity()
{
    dot_->setVisible(model_->busy());
    activity_->setText(model_->busy() ? model_->operation() : ActivityText::ready());
}

void WindowStatusBar::updateVisibleCount()
{
    visibleCount_ = model_->visibleCount();
    updateCount();
}

void WindowStatusBar::updateCount()
{
    count_->setText(model_->selection().isEmpty()
                        ? tr("%n items", nullptr, int(visibleCount_))
                        : tr("%n selected", nullptr, int(model_->selection().size())));
}

void WindowStatusBar::updateSpace()
{
    space_->setText(availableSpaceText(VolumeCapacity::of(model_->folder())));
}

void WindowStatusBar::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), UiStyle::withAlpha(Palette::surface(), 0.5));
    painter.fillRect(QRect(0, 0, width(), 1), Palette::line());
}
