#include "window/content_view.h"

#include "analysis/analysis_view.h"
#include "explorer/detail_drawer.h"
#include "explorer/explorer_browser.h"
#include "library/embedded_preview.h"
#include "library/media_library_view.h"
#include "timeline/timeline_view.h"
#include "transfers/transfers_view.h"
#include "ui/fitted_stack.h"
#include "ui/ui_style.h"
#include "window/detail_scroll_area.h"
#include "window/section_heading.h"
#include "window/sidebar.h"
#include "window/top_bar.h"
#include "window/window_sheets.h"
#include "window/window_status_bar.h"
#include "workspace/settings.h"
#include "workspace/workspace_model.h"
#include "workspace/workspace_router.h"

#include <QVBoxLayout>

SectionKind sectionKindOf(const WorkspaceModel& model)
{
    const Feature feature = model.feature();
    if (model.previewFile()) return SectionKind::Preview;
    if (isLibrary(feature)) return SectionKind::Library;
    if (isAnalysis(feature)) return SectionKind::Analysis;
    if (feature == Feature::Transfers) return SectionKind::Transfers;
    if (feature == Feature::Timeline) return SectionKind::Timeline;
    return SectionKind::Explorer;
}

ContentView::ContentView(WorkspaceRouter& router, QWidget* parent)
    : QSplitter(Qt::Horizontal, parent), router_(router), sidebar_(new Sidebar(router)),
      topBar_(new TopBar), heading_(new SectionHeading), sections_(new FittedStack),
      drawerLine_(UiStyle::hairline()), drawer_(new DetailDrawer), status_(new WindowStatusBar),
      sheets_(new WindowSheets(this))
{
    setChildrenCollapsible(false);
    setHandleWidth(1);
    addWidget(sidebar_);

    auto* detail = new QWidget;
    detail->setAutoFillBackground(true);
    detail->setBackgroundRole(QPalette::Base);
    auto* column = new QVBoxLayout(detail);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(topBar_);
    column->addWidget(UiStyle::hairline());
    auto* page = new QWidget;
    auto* pageColumn = new QVBoxLayout(page);
    pageColumn->setContentsMargins(30, 30, 30, 20);
    pageColumn->setSpacing(18);
    pageColumn->addWidget(heading_);
    pageColumn->addWidget(sections_, 1);
    scroll_ = new DetailScrollArea(page);
    column->addWidget(scroll_, 1);
    column->addWidget(drawerLine_);
    column->addWidget(drawer_);
    column->addWidget(status_);
    addWidget(detail);
    setStretchFactor(0, 0);
    setStretchFactor(1, 1);

    // One view of each kind of section.
    views_.insert(SectionKind::Explorer, new ExplorerBrowser);
    views_.insert(SectionKind::Library, new MediaLibraryView);
    views_.insert(SectionKind::Preview, new EmbeddedPreview);
    views_.insert(SectionKind::Analysis, new AnalysisView);
    views_.insert(SectionKind::Timeline, new TimelineView);
    views_.insert(SectionKind::Transfers, new TransfersView);
    for (SectionView* view : std::as_const(views_)) {
        sections_->addWidget(view);
        connect(view, &SectionView::scrollBodyChanged, this, &ContentView::followBody);
    }

    const QByteArray state = Settings::contentSplit();
    if (state.isEmpty() || !restoreState(state)) setSizes({Sidebar::idealWidth, 1030});
    connect(this, &QSplitter::splitterMoved, this, &ContentView::saveSplit);
    connect(sidebar_, &Sidebar::settingsRequested, this, &ContentView::settingsRequested);
    connect(&router_, &WorkspaceRouter::currentChanged, this, &ContentView::follow);
    follow();
}

ContentView::~ContentView() = default;

void ContentView::saveSplit()
{
    Settings::setContentSplit(saveState());
}

SectionView* ContentView::sectionView(SectionKind kind) const
{
    return views_.value(kind, views_.value(SectionKind::Explorer));
}

SectionView* ContentView::currentSectionView() const
{
    return qobject_cast<SectionView*>(sections_->currentWidget());
}

void ContentView::follow()
{
    connections_.clear();
    model_ = &router_.current();
    scroll_->reset();
    connections_.follow(model_,
                        {&WorkspaceModel::previewFileChanged, &WorkspaceModel::featureChanged},
                        this, &ContentView::choose);
    connections_.follow(model_,
                        {&WorkspaceModel::detailsChanged, &WorkspaceModel::selectionChanged,
                         &WorkspaceModel::filesChanged},
                        this, &ContentView::showDrawerIfWanted);
    topBar_->setModel(model_);
    drawer_->setModel(model_);
    status_->setModel(model_);
    sheets_->setModel(model_);
    showDrawerIfWanted();
    choose(); // also gives the heading its model
}

void ContentView::showDrawerIfWanted()
{
    const bool shown = drawer_->wanted();
    drawer_->setVisible(shown);
    drawerLine_->setVisible(shown);
}

void ContentView::choose()
{
    if (!model_) return;
    SectionView* view = sectionView(sectionKindOf(*model_));
    // Views that are not shown let go of their model, so they stop following it.
    for (SectionView* other : std::as_const(views_))
        if (other != view) other->setModel(nullptr);
    heading_->setModel(model_);
    view->setModel(model_);
    if (sections_->currentWidget() != view) scroll_->reset();
    sections_->setCurrentWidget(view);
    followBody();
}

void ContentView::followBody()
{
    if (SectionView* view = currentSectionView()) scroll_->setBody(view->scrollBody());
}
