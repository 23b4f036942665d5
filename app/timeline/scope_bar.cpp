#include "scope_bar.h"

#include "palette.h"
#include "sidebar_icon.h"
#include "spinner.h"
#include "symbols.h"
#include "ui_style.h"
#include "workspace_model.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

ScopeBar::ScopeBar(const QString& action, QWidget* parent) : QWidget(parent)
{
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(18, 18, 18, 18);
    column->setSpacing(12);

    auto* first = new QHBoxLayout;
    first->setSpacing(12);
    icon_ = new SidebarIcon(QStringLiteral("calendar"), Palette::blue(), this);
    first->addWidget(icon_);
    auto* texts = new QVBoxLayout;
    texts->setSpacing(4);
    title_ = UiStyle::label({}, 13, QFont::DemiBold, false, this);
    detail_ = UiStyle::label({}, 10, QFont::Normal, true, this);
    detail_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    texts->addWidget(title_);
    texts->addWidget(detail_);
    first->addLayout(texts, 1);
    computer_ = new QPushButton(tr("This Computer"), this);
    spinner_ = new Spinner(14, this);
    cancel_ = new QPushButton(tr("Cancel"), this);
    run_ = new QPushButton(action, this);
    run_->setDefault(true);
    for (QWidget* control : {static_cast<QWidget*>(computer_), static_cast<QWidget*>(spinner_),
                             static_cast<QWidget*>(cancel_), static_cast<QWidget*>(run_)})
        first->addWidget(control);
    column->addLayout(first);

    notes_ = new QWidget(this);
    auto* second = new QHBoxLayout(notes_);
    second->setContentsMargins(0, 0, 0, 0);
    second->setSpacing(10);
    message_ = UiStyle::label({}, 10, QFont::Normal, true, notes_);
    message_->setWordWrap(true);
    second->addWidget(message_, 1);
    stopped_ = new QWidget(notes_);
    auto* stoppedRow = new QHBoxLayout(stopped_);
    stoppedRow->setContentsMargins(0, 0, 0, 0);
    stoppedRow->setSpacing(5);
    auto* pause = new QLabel(stopped_);
    pause->setPixmap(symbolPixmap(QStringLiteral("pause.circle"), 14, UiStyle::secondaryText()));
    stoppedRow->addWidget(pause);
    stoppedRow->addWidget(UiStyle::label(tr("Stopped. Any completed results remain available."), 10,
                                         QFont::Normal, true, stopped_));
    second->addWidget(stopped_);
    second->addStretch();
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

ScopeBar::~ScopeBar()
{
    connections_.clear();
}

void ScopeBar::setModel(WorkspaceModel* model)
{
    connections_.clear();
    model_ = model;
    connections_.follow(model,
                        {&WorkspaceModel::activityChanged, &WorkspaceModel::libraryScopeChanged,
                         &WorkspaceModel::folderChanged, &WorkspaceModel::libraryMessageChanged,
                         &WorkspaceModel::featureChanged},
                        this, &ScopeBar::update);
    update();
}

QString ScopeBar::title() const
{
    return title_->text();
}

QString ScopeBar::detail() const
{
    return detail_->text();
}

bool ScopeBar::showsStopped() const
{
    return stopped_->isVisibleTo(this);
}

void ScopeBar::update()
{
    const bool mac = !model_ || model_->isMacScope();
    const bool busy = model_ && model_->busy();
    if (model_) icon_->set(iconOf(model_->feature()), colorOf(model_->feature()));
    title_->setText(mac ? tr("This Computer") : QFileInfo(model_->folder()).fileName());
    if (busy)
        detail_->setText(model_->operation());
    else
        detail_->setText(mac ? tr("All indexed locations") : model_->folder());
    computer_->setVisible(!mac);
    spinner_->setVisible(busy);
    cancel_->setVisible(busy);
    run_->setVisible(!busy);
    run_->setEnabled(model_ != nullptr);

    const std::optional<QString> message = model_ ? model_->libraryMessage() : std::nullopt;
    message_->setText(message.value_or(QString()));
    message_->setVisible(message.has_value());
    const bool stopped = model_ && model_->operation() == QLatin1String("Cancelled");
    stopped_->setVisible(stopped);
    notes_->setVisible(message.has_value() || stopped);
}

void ScopeBar::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    UiStyle::card(painter, QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 12, Palette::surface(),
                  Palette::line());
}
