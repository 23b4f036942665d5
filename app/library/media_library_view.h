#pragma once

#include "sections/feature.h"
#include "ui/model_connections.h"
#include "ui/section_view.h"

#include <QHash>
#include <QPointer>

class CardFrame;
class EmptyState;
class FileListModel;
class FileListView;
class LibraryTileDelegate;
class QLabel;
class QMenu;
class QProgressBar;
class QPushButton;
class QSlider;
class FittedStack;
class QToolButton;
class SidebarIcon;
class LibraryPlaceholders;

// The library sections' view: header, scope line, filter bar and a grid of
// thumbnail tiles over the shared file list model.
class MediaLibraryView : public SectionView {
    Q_OBJECT
public:
    static constexpr qreal initialTileSize = 180;
    static constexpr int minimumTileSize = 130;
    static constexpr int maximumTileSize = 270;

    explicit MediaLibraryView(QWidget* parent = nullptr);
    ~MediaLibraryView() override;
    void setModel(WorkspaceModel* model) override;
    QAbstractScrollArea* scrollBody() const override;

    qreal tileSize() const { return tileSize_; }
    void setTileSize(qreal size);

    // The filter menus by title ("Format", "Modified", …); null when not shown.
    QMenu* filterMenu(const QString& title) const;
    // The titles of the menus shown, in order.
    QStringList filterMenuTitles() const;
    QPushButton* resetButton() const { return reset_; }
    QPushButton* scopeButton() const { return scope_; }
    FileListView* grid() const { return grid_; }
    FileListModel* listModel() const { return list_; }
    EmptyState* emptyState() const { return empty_; }
    // 0 grid, 1 placeholders, 2 empty state.
    int contentPage() const;
    QString countText() const;
    QString scopeText() const;

private:
    void updateHeader();
    void updateFilters();
    void updateContent();
    void showContent();
    void rebuildFormatMenu();
    // `key` is the menu's English title, which also names it in menus_.
    QToolButton* addMenu(const char* key, QWidget* parent);

    QPointer<WorkspaceModel> model_;
    ModelConnections connections_;
    qreal tileSize_ = initialTileSize;

    CardFrame* header_;
    SidebarIcon* icon_;
    QLabel* count_;
    QLabel* location_;
    QProgressBar* spinner_;
    QLabel* activity_;
    QPushButton* cancel_;
    QPushButton* refresh_;
    QPushButton* scope_;
    QLabel* scopeMessage_;
    QHash<QString, QToolButton*> menus_;
    QStringList menuOrder_;
    QProgressBar* metadataSpinner_;
    QSlider* sizeSlider_;
    QPushButton* reset_;
    FittedStack* content_;
    FileListModel* list_;
    FileListView* grid_;
    LibraryTileDelegate* delegate_;
    LibraryPlaceholders* placeholders_;
    EmptyState* empty_;
};
