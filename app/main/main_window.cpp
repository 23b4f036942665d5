#include "main_window.h"

#include "menu_commands.h"
#include "workspace_model.h"
#include "workspace_router.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QStatusBar>
#include <QVBoxLayout>

MainWindow::MainWindow(WorkspaceRouter& router, QWidget* parent)
    : QMainWindow(parent), router_(router), sections_(new QListWidget),
      title_(new QLabel), subtitle_(new QLabel), activity_(new QLabel)
{
    setWindowTitle(QStringLiteral("Quorvane"));
    for (Feature feature : allCases<Feature>()) {
        auto* item = new QListWidgetItem(titleOf(feature), sections_);
        item->setData(Qt::UserRole, static_cast<int>(feature));
    }
    sections_->setFixedWidth(220);
    sections_->setFrameShape(QFrame::NoFrame);
    connect(sections_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0) router_.activate(allCases<Feature>()[row]);
    });

    QFont titleFont = title_->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.8);
    titleFont.setBold(true);
    title_->setFont(titleFont);
    subtitle_->setForegroundRole(QPalette::PlaceholderText);

    auto* content = new QWidget;
    auto* column = new QVBoxLayout(content);
    column->setContentsMargins(24, 20, 24, 20);
    column->addWidget(title_);
    column->addWidget(subtitle_);
    column->addStretch(1);

    auto* central = new QWidget;
    central->setMinimumSize(minimumContentSize);
    auto* row = new QHBoxLayout(central);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    row->addWidget(sections_);
    row->addWidget(content, 1);
    setCentralWidget(central);
    statusBar()->addWidget(activity_, 1);
    resize(defaultSize);
    new MenuCommands(router_, *menuBar());

    connect(&router_, &WorkspaceRouter::currentChanged, this,
            [this] { showModel(router_.current()); });
    showModel(router_.current());
}

void MainWindow::showModel(WorkspaceModel& model)
{
    for (auto& connection : modelConnections_) disconnect(connection);
    modelConnections_[0] =
        connect(&model, &WorkspaceModel::activityChanged, this, &MainWindow::updateActivity);
    modelConnections_[1] =
        connect(&model, &WorkspaceModel::libraryResultChanged, this, &MainWindow::updateActivity);
    modelConnections_[2] =
        connect(&model, &WorkspaceModel::libraryMessageChanged, this, &MainWindow::updateActivity);
    const auto cases = allCases<Feature>();
    const int row = int(std::find(cases.begin(), cases.end(), model.feature()) - cases.begin());
    const QSignalBlocker blocker(sections_);
    sections_->setCurrentRow(row);
    updateHeader();
    updateActivity();
}

void MainWindow::updateHeader()
{
    const Feature feature = router_.current().feature();
    title_->setText(titleOf(feature));
    subtitle_->setText(subtitleOf(feature));
}

void MainWindow::updateActivity()
{
    const WorkspaceModel& model = router_.current();
    QString text = model.operation();
    if (model.libraryMessage()) text = *model.libraryMessage();
    const qsizetype count = model.visible().size();
    text += QStringLiteral("  ·  %1 %2").arg(count).arg(count == 1 ? u"item" : u"items");
    activity_->setText(text);
}
