#pragma once

#include "explorer/folder_tally.h"
#include "ui/model_connections.h"
#include "ui/section_view.h"

#include <QPointer>

class ElidedLabel;
class EmptyState;
class LayoutPicker;
class FileListModel;
class FileListView;
class QLabel;
class QPushButton;
class FittedStack;
class QAbstractScrollArea;
class QToolButton;
class Spinner;
class WorkspaceModel;
class MediaThumbnail;

// The Explorer and Recent Files: scope row, summary cards, the tool row, and
// the entries in grid, list, column or gallery layout over one shared list model.
class ExplorerBrowser : public SectionView {
    Q_OBJECT
public:
    explicit ExplorerBrowser(QWidget* parent = nullptr);
    void setModel(WorkspaceModel* model) override;
    QAbstractScrollArea* scrollBody() const override;

    FileListModel* listModel() const { return list_; }
    // The view of the current layout (the list of the column layout, the strip of the gallery).
    FileListView* currentView() const;
    EmptyState* emptyState() const { return empty_; }
    LayoutPicker* layoutPicker() const { return picker_; }
    QString cardValue(int card) const;

private:
    QWidget* makeCard(const QString& title, const QString& symbol, const QColor& color,
                      QLabel** value);
    QWidget* makeListLayout(FileListView** view);
    void update();
    void updateDetails();

    QPointer<WorkspaceModel> model_;
    ModelConnections connections_;
    FolderTally folders_;
    FileListModel* list_;
    FileListView* grid_;
    FileListView* rows_;
    FileListView* columnRows_;
    FileListView* strip_;
    FittedStack* layouts_;
    FittedStack* content_;
    EmptyState* empty_;
    QLabel* scope_;
    QPushButton* searchAll_;
    Spinner* spinner_;
    QPushButton* cancel_;
    QWidget* recentRow_;
    QPushButton* recentAction_;
    QLabel* cards_[3];
    QLabel* chipName_;
    QLabel* chipCount_;
    QToolButton* sort_;
    LayoutPicker* picker_;
    QToolButton* newFolder_;
    ElidedLabel* columnName_;
    ElidedLabel* columnPath_;
    QLabel* columnIcon_;
    QWidget* columnButtons_;
    QLabel* columnHint_;
    MediaThumbnail* featured_;
    ElidedLabel* featuredName_;
    QWidget* featuredPanel_;
};
