#pragma once

#include "analysis/row_pool.h"
#include "file_entry.h"
#include "ui/model_connections.h"
#include "ui/section_view.h"

#include <QPointer>
#include <memory>

class DuplicateGroupCard;
class EmptyState;
class FileCardList;
class FileCardModel;
class QComboBox;
class QLabel;
class QPushButton;
class QScrollArea;
class StatsCard;
class StorageHierarchyView;
class ToolScopeBar;

// Large Files, the Duplicate Finder and the Storage Analyzer: the scope bar,
// the figures and the section's results, in pages of 100.
class AnalysisView : public SectionView {
    Q_OBJECT
public:
    static constexpr int pageStep = 100;

    explicit AnalysisView(QWidget* parent = nullptr);
    ~AnalysisView() override;
    void setModel(WorkspaceModel* model) override;
    QAbstractScrollArea* scrollBody() const override;

    // How many duplicate groups the pages opened so far allow.
    int limit() const { return limit_; }
    void showMore();
    void showMoreFiles();

    ToolScopeBar* scopeBar() const { return scopeBar_; }
    StatsCard* stats() const { return stats_; }
    StorageHierarchyView* hierarchy() const { return hierarchy_; }
    EmptyState* emptyState() const { return empty_; }
    QComboBox* minimumSize() const { return minimumSize_; }
    QPushButton* moreButton() const { return more_; }
    QPushButton* moreGroupsButton() const { return moreGroups_; }
    QString headerText() const;
    // The Large Files list (shown or not) and its files.
    FileCardList* fileList() const { return fileList_; }
    FileCardModel* fileCards() const { return fileCards_; }
    // The rows shown of the list: none while it is hidden.
    int shownFileRows() const;
    // Shown group cards, in order.
    QList<DuplicateGroupCard*> groupCards() const;
    bool showsNoGroupMatch() const;

    // The groups the search leaves: all when `query` is empty, else those with a matching name.
    static QList<QList<FileEntry>> matchingGroups(const QList<QList<FileEntry>>& groups,
                                                  const QString& query);

private:
    void update();
    void updateFiles();
    void updateDuplicates();
    void hideAllBodies();
    void updateMoreFiles();

    QPointer<WorkspaceModel> model_;
    ModelConnections connections_;
    int limit_ = pageStep;

    QScrollArea* scroll_;
    ToolScopeBar* scopeBar_;
    StatsCard* stats_;
    StorageHierarchyView* hierarchy_;
    QWidget* header_;
    QLabel* headerTitle_;
    QComboBox* minimumSize_;
    EmptyState* empty_;
    QWidget* files_;
    FileCardModel* fileCards_;
    FileCardList* fileList_;
    QPushButton* more_;
    QLabel* footnote_;
    QLabel* noGroupMatch_;
    QWidget* groups_;
    std::unique_ptr<RowPool<DuplicateGroupCard>> groupCards_;
    QPushButton* moreGroups_;
    QLabel* note_;
};
