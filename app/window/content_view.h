#pragma once

#include "ui/model_connections.h"

#include <QPointer>
#include <QSplitter>

class DetailDrawer;
class DetailScrollArea;
class FittedStack;
class SectionHeading;
class SectionView;
class Sidebar;
class TopBar;
class WindowSheets;
class WindowStatusBar;
class WorkspaceModel;
class WorkspaceRouter;

// Which view fills the detail column: the first rule that holds wins.
enum class SectionKind { Preview, Library, Analysis, Transfers, Timeline, Explorer };
SectionKind sectionKindOf(const WorkspaceModel& model);

// The window's root: the sidebar beside the detail column (top bar, heading,
// the section's view, the details drawer, the status bar). The split position
// is kept under "QuorvanePrimarySplit".
class ContentView : public QSplitter {
    Q_OBJECT
public:
    explicit ContentView(WorkspaceRouter& router, QWidget* parent = nullptr);
    ~ContentView() override;

    Sidebar* sidebar() const { return sidebar_; }
    TopBar* topBar() const { return topBar_; }
    WindowStatusBar* statusBar() const { return status_; }
    DetailDrawer* drawer() const { return drawer_; }
    SectionView* currentSectionView() const;
    SectionView* sectionView(SectionKind kind) const;
    DetailScrollArea* scrollArea() const { return scroll_; }

Q_SIGNALS:
    void settingsRequested();

private:
    void follow();
    void choose();
    void followBody();
    void showDrawerIfWanted();
    void saveSplit();

    WorkspaceRouter& router_;
    QPointer<WorkspaceModel> model_;
    ModelConnections connections_;
    Sidebar* sidebar_;
    TopBar* topBar_;
    SectionHeading* heading_;
    FittedStack* sections_;
    DetailScrollArea* scroll_;
    QHash<SectionKind, SectionView*> views_;
    QWidget* drawerLine_;
    DetailDrawer* drawer_;
    WindowStatusBar* status_;
    WindowSheets* sheets_;
};
