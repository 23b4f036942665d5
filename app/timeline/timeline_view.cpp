#include "timeline/timeline_view.h"

#include "sections/feature.h"
#include "ui/empty_state.h"
#include "ui/file_card_list.h"
#include "ui/file_card_model.h"
#include "ui/palette.h"
#include "ui/palette_follower.h"
#include "ui/symbols.h"
#include "ui/tool_scope_bar.h"
#include "ui/ui_style.h"
#include "workspace/workspace_model.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

namespace {

QPushButton* pageButton(const QString& text, QWidget* parent)
{
    auto* button = new QPushButton(text, parent);
    button->setFlat(true);
    button->setCursor(Qt::PointingHandCursor);
    button->setFont(UiStyle::font(12, QFont::DemiBold));
    QPalette colours = button->palette();
    colours.setColor(QPalette::ButtonText, Palette::blue());
    button->setPalette(colours);
    return button;
}

} // namespace

TimelineDayView::TimelineDayView(WorkspaceModel* model, TimelineGroup group, QWidget* parent)
    : QWidget(parent), group_(std::move(group))
{
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(10);
    auto* header = new QHBoxLayout;
    header->setSpacing(8);
    header->addWidget(symbolLabel(
        QStringLiteral("calendar.circle.fill"), 18, [] { return colorOf(Feature::Timeline); },
        this));
    heading_ = UiStyle::label({}, 13, QFont::DemiBold, false, this);
    count_ = UiStyle::label({}, 10, QFont::Normal, true, this);
    header->addWidget(heading_);
    header->addStretch();
    header->addWidget(count_);
    column->addLayout(header);
    files_ = new FileCardModel(pageSize, this);
    files_->setWorkspace(model);
    rows_ = new FileCardList(files_, FileCardDelegate::Look::Timeline, 5, this);
    column->addWidget(rows_);
    more_ = pageButton(tr("Show more from this day"), this);
    column->addWidget(more_, 0, Qt::AlignLeft);
    connect(more_, &QPushButton::clicked, this, &TimelineDayView::showMore);
    fill();
}

void TimelineDayView::setGroup(TimelineGroup group)
{
    if (group == group_) return;
    group_ = std::move(group);
    fill();
}

QString TimelineDayView::heading() const
{
    return heading_->text();
}

QString TimelineDayView::countText() const
{
    return count_->text();
}

int TimelineDayView::limit() const
{
    return files_->limit();
}

int TimelineDayView::shownFiles() const
{
    return files_->rowCount();
}

void TimelineDayView::showMore()
{
    files_->showMore();
    more_->setVisible(files_->canFetchMore({}));
}

void TimelineDayView::fill()
{
    // The group's day is the start of a local day, so its local date names it.
    heading_->setText(QLocale().toString(group_.day.toLocalTime().date(),
                                         tr("dddd, MMM d, yyyy", "date pattern")));
    count_->setText(tr("%n files", nullptr, int(group_.files.size())));
    files_->setFiles(group_.files);
    more_->setVisible(files_->canFetchMore({}));
}

TimelineView::TimelineView(QWidget* parent) : SectionView(parent)
{
    QVBoxLayout* column = makeScrollingColumn(scroll_);
    QWidget* content = scroll_->widget();

    scopeBar_ = new ToolScopeBar(content);
    scopeBar_->setAction(tr("Refresh"));
    column->addWidget(scopeBar_);

    auto* header = new QHBoxLayout;
    header->setSpacing(8);
    header->addWidget(
        UiStyle::label(tr("By modification date"), 13, QFont::DemiBold, false, content));
    header->addStretch();
    header->addWidget(UiStyle::label(tr("Period"), 12, QFont::Normal, false, content));
    period_ = new QComboBox(content);
    period_->setAccessibleName(tr("Period"));
    period_->setFixedWidth(210);
    period_->addItem(tr("All time"), 0);
    period_->addItem(tr("Last 7 days"), 7);
    period_->addItem(tr("Last 30 days"), 30);
    period_->addItem(tr("Last year"), 365);
    header->addWidget(period_);
    column->addLayout(header);
    connect(period_, &QComboBox::activated, this, [this](int index) {
        if (model_) model_->setTimelineDays(period_->itemData(index).toInt());
    });

    empty_ = new EmptyState(content);
    empty_->set(QStringLiteral("calendar"), tr("No files in this period"),
                tr("Change the period or search to see more files."));
    // The block's own hint leaves room for one line of its wrapped detail;
    // ours run to three.
    empty_->setMinimumHeight(empty_->sizeHint().height() +
                             2 * QFontMetrics(UiStyle::font(12)).lineSpacing());
    column->addWidget(empty_);

    dayColumn_ = new QWidget(content);
    dayLayout_ = new QVBoxLayout(dayColumn_);
    dayLayout_->setContentsMargins(0, 0, 0, 0);
    dayLayout_->setSpacing(22);
    column->addWidget(dayColumn_);
    earlier_ = pageButton(tr("Show earlier days"), content);
    column->addWidget(earlier_, 0, Qt::AlignLeft);
    connect(earlier_, &QPushButton::clicked, this, &TimelineView::showEarlierDays);
    column->addStretch();
    setModel(nullptr);
}

TimelineView::~TimelineView()
{
    connections_.clear();
}

void TimelineView::setModel(WorkspaceModel* model)
{
    connections_.clear();
    const bool other = model != model_;
    model_ = model;
    if (other) {
        // Another section's timeline starts again at the first page.
        dayLimit_ = initialDayLimit;
        qDeleteAll(days_);
        days_.clear();
        scroll_->verticalScrollBar()->setValue(0);
    }
    scopeBar_->setModel(model);
    connections_.follow(model,
                        {&WorkspaceModel::timelineGroupsChanged, &WorkspaceModel::activityChanged,
                         &WorkspaceModel::isFilteringChanged},
                        this, &TimelineView::updateDays);
    connections_.follow(model, {&WorkspaceModel::timelineDaysChanged}, this,
                        &TimelineView::updatePeriod);
    updatePeriod();
    updateDays();
}

void TimelineView::showEarlierDays()
{
    dayLimit_ += dayLimitStep;
    updateDays();
}

void TimelineView::updatePeriod()
{
    const int index = period_->findData(model_ ? model_->timelineDays() : 0);
    // A day count the picker does not offer shows no choice.
    period_->setCurrentIndex(index);
}

void TimelineView::updateDays()
{
    const QList<TimelineGroup> groups = model_ ? model_->timelineGroups() : QList<TimelineGroup>();
    const qsizetype wanted = std::min<qsizetype>(dayLimit_, groups.size());

    // A day keeps its view, and so how far it was opened, while the groups
    // are refiltered; days that left the page are dropped.
    QHash<QDateTime, TimelineDayView*> byDay;
    for (TimelineDayView* day : std::as_const(days_))
        byDay.insert(day->group().day, day);
    QList<TimelineDayView*> shown;
    shown.reserve(wanted);
    for (qsizetype i = 0; i < wanted; ++i) {
        TimelineDayView* day = byDay.take(groups[i].day);
        if (day)
            day->setGroup(groups[i]);
        else
            day = new TimelineDayView(model_, groups[i], dayColumn_);
        if (dayLayout_->indexOf(day) != i) {
            dayLayout_->removeWidget(day);
            dayLayout_->insertWidget(int(i), day);
        }
        shown << day;
    }
    qDeleteAll(byDay);
    days_ = std::move(shown);

    const bool none = groups.isEmpty();
    const bool loading = model_ && (model_->busy() || model_->isFiltering());
    empty_->set(QStringLiteral("calendar"),
                loading ? tr("Building your timeline…") : tr("No files in this period"),
                tr("Change the period or search to see more files."));
    empty_->setVisible(none);
    dayColumn_->setVisible(!none);
    earlier_->setVisible(groups.size() > dayLimit_);
}

QAbstractScrollArea* TimelineView::scrollBody() const
{
    return scroll_;
}
