#pragma once

#include "ui/model_connections.h"
#include "ui/section_view.h"
#include "workspace/timeline_group.h"

#include <QHash>
#include <QPointer>

class EmptyState;
class FileCardList;
class FileCardModel;
class QComboBox;
class QLabel;
class QPushButton;
class QScrollArea;
class QVBoxLayout;
class ToolScopeBar;
class WorkspaceModel;

// One day of the timeline: its heading, the number of files and the first
// pages of them.
class TimelineDayView : public QWidget {
    Q_OBJECT
public:
    static constexpr int pageSize = 50;

    TimelineDayView(WorkspaceModel* model, TimelineGroup group, QWidget* parent = nullptr);
    void setGroup(TimelineGroup group);
    const TimelineGroup& group() const { return group_; }
    int limit() const;
    int shownFiles() const;
    FileCardModel* files() const { return files_; }
    FileCardList* rows() const { return rows_; }
    QPushButton* moreButton() const { return more_; }
    QString heading() const;
    QString countText() const;
    void showMore();

private:
    void fill();

    TimelineGroup group_;
    QLabel* heading_;
    QLabel* count_;
    FileCardModel* files_;
    FileCardList* rows_;
    QPushButton* more_;
};

// The File Timeline section: the section's files by the day they were last
// changed, latest day first, a page of days at a time.
class TimelineView : public SectionView {
    Q_OBJECT
public:
    static constexpr int initialDayLimit = 20;
    static constexpr int dayLimitStep = 20;

    explicit TimelineView(QWidget* parent = nullptr);
    ~TimelineView() override;
    void setModel(WorkspaceModel* model) override;
    QAbstractScrollArea* scrollBody() const override;

    int dayLimit() const { return dayLimit_; }
    const QList<TimelineDayView*>& days() const { return days_; }
    ToolScopeBar* scopeBar() const { return scopeBar_; }
    QComboBox* periodPicker() const { return period_; }
    EmptyState* emptyState() const { return empty_; }
    QPushButton* earlierButton() const { return earlier_; }
    void showEarlierDays();

private:
    void updateDays();
    void updatePeriod();

    QPointer<WorkspaceModel> model_;
    ModelConnections connections_;
    int dayLimit_ = initialDayLimit;
    QList<TimelineDayView*> days_;
    QScrollArea* scroll_;
    ToolScopeBar* scopeBar_;
    QComboBox* period_;
    EmptyState* empty_;
    QWidget* dayColumn_;
    QVBoxLayout* dayLayout_;
    QPushButton* earlier_;
};
