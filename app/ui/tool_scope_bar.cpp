#include "ui/tool_scope_bar.h"

#include "ui/palette.h"
#include "ui/palette_follower.h"
#include "ui/sidebar_icon.h"
#include "ui/spinner.h"
#include "ui/symbols.h"
#include "ui/ui_style.h"
#include "workspace/activity_text.h"
#include "workspace/workspace_model.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

ToolScopeBar::ToolScopeBar(QWidget* parent)
    : CardFrame(12, parent),
      icon_(new SidebarIcon(QStringLiteral("chart.pie"), Palette::blue(), this)),
      title_(UiStyle::label({}, 13, QFont::DemiBold, false, this)),
      subtitle_(UiStyle::label({}, 10, QFont::Normal, true, this)),
      computer_(new QPushButton(tr("This Computer"), this)), spinner_(new Spinner(14, this)),
      cancel_(new QPushButton(tr("Cancel"), this)), run_(new QPushButton(tr("Refresh"), this)),
      notes_(new QWidget(this)), message_(UiStyle::label({}, 10, QFont::Normal, true, notes_)),
      stopped_(new QWidget(notes_))
{
    setFill([] { return Palette::surface(); });
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(18, 18, 18, 18);
    column->setSpacing(12);

    auto* first = new QHBoxLayout;
    first->setSpacing(12);
    first->addWidget(icon_);
    auto* titles = new QVBoxLayout;
    titles->setSpacing(4);
    titles->addWidget(title_);
    titles->addWidget(subtitle_);
    subtitle_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    first->addLayout(titles, 1);
    first->addWidget(computer_);
    first->addWidget(spinner_);
    first->addWidget(cancel_);
    run_->setDefault(true);
    run_->setAutoDefault(false);
    first->addWidget(run_);
    column->addLayout(first);

    // The message may wrap; the stopped note keeps a line of its own under it.
    auto* notes = new QVBoxLayout(notes_);
    notes->setContentsMargins(0, 0, 0, 0);
    notes->setSpacing(6);
    message_->setWordWrap(true);
    notes->addWidget(message_);
    auto* stopped = new QHBoxLayout(stopped_);
    stopped->setContentsMargins(0, 0, 0, 0);
    stopped->setSpacing(5);
    stopped->addWidget(
        symbolLabel(QStringLiteral("pause.circle"), 13, &UiStyle::secondaryText, stopped_));
    stopped->addWidget(UiStyle::label(tr("Stopped. Any completed results remain available."), 10,
                                      QFont::Normal, true, stopped_));
    stopped->addStretch(1);
    notes->addWidget(stopped_);
    column->addWidget(notes_);

    connect(computer_, &QPushButton::clicked, this, [this] {
        if (model_) model_->discoverMac();
    });
    connect(cancel_, &QPushButton::clicked, this, [this] {
        if (model_) model_->cancelScan();
    });
    connect(run_, &QPushButton::clicked, this, [this] {
        if (model_) model_->scan();
    });
    update();
}

void ToolScopeBar::setModel(WorkspaceModel* model)
{
    connections_.clear();
    model_ = model;
    connections_.follow(model,
                        {&WorkspaceModel::activityChanged, &WorkspaceModel::libraryScopeChanged,
                         &WorkspaceModel::folderChanged, &WorkspaceModel::libraryMessageChanged,
                         &WorkspaceModel::featureChanged},
                        this, &ToolScopeBar::update);
    update();
}

void ToolScopeBar::setAction(const QString& action)
{
    run_->setText(action);
}

void ToolScopeBar::update()
{
    const Feature feature = model_ ? model_->feature() : Feature::Storage;
    icon_->set(iconOf(feature), colorOf(feature));
    const bool mac = !model_ || model_->isMacScope();
    const bool busy = model_ && model_->busy();
    const QString folder = model_ ? model_->folder() : QString();
    const QString name = QFileInfo(folder).fileName();
    title_->setText(mac ? tr("This Computer") : (name.isEmpty() ? folder : name));
    subtitle_->setText(busy ? model_->operation() : (mac ? tr("All indexed locations") : folder));
    computer_->setVisible(!mac);
    spinner_->setVisible(busy);
    cancel_->setVisible(busy);
    run_->setVisible(!busy);

    const bool hasMessage = model_ && model_->libraryMessage();
    message_->setText(hasMessage ? *model_->libraryMessage() : QString());
    message_->setVisible(hasMessage);
    const bool stopped = model_ && model_->operation() == ActivityText::cancelled();
    stopped_->setVisible(stopped);
    notes_->setVisible(hasMessage || stopped);
}

QString ToolScopeBar::title() const
{
    return title_->text();
}
QString ToolScopeBar::subtitle() const
{
    return subtitle_->text();
}
QString ToolScopeBar::message() const
{
    return message_->isHidden() ? QString() : message_->text();
}
bool ToolScopeBar::showsStopped() const
{
    return !stopped_->isHidden();
}
