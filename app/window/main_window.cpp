#include "window/main_window.h"

#include "transfers/launcher_progress.h"
#include "transfers/queue_finished_notice.h"
#include "ui/focus_ring.h"
#include "window/content_view.h"
#include "window/menu_commands.h"
#include "workspace/workspace_router.h"

#include <QMenuBar>

MainWindow::MainWindow(WorkspaceRouter& router, QWidget* parent)
    : QMainWindow(parent), content_(new ContentView(router))
{
    setWindowTitle(tr("Quorvane"));
    content_->setMinimumSize(minimumContentSize);
    setCentralWidget(content_);
    resize(defaultSize);
    new MenuCommands(router, *menuBar());
    FocusRing::install(this);
    new LauncherProgress(router.transferStore(), this);
    new QueueFinishedNotice(
        router.transferStore(), [this] { return isActiveWindow(); },
        QueueFinishedNotice::defaultLongEnough, this);
}
