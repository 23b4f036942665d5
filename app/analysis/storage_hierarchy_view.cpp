#include "analysis/storage_hierarchy_view.h"

#include "analysis/storage_children_list.h"
#include "analysis/storage_children_model.h"
#include "analysis/storage_row_delegate.h"
#include "analysis/storage_tree_model.h"
#include "storage_node.h"
#include "ui/palette.h"
#include "ui/spinner.h"
#include "ui/ui_style.h"
#include "workspace/workspace_model.h"

#include <QButtonGroup>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

namespace {
enum Page { Busy, Status, List, Outline };

QString parentOf(const QString& path)
{
    const qsizetype slash = path.lastIndexOf(u'/');
    if (slash <= 0) return QStringLiteral("/");
    return path.left(slash);
}
} // namespace

StorageHierarchyView::StorageHierarchyView(QWidget* parent)
    : CardFrame(12, parent), picker_(new QButtonGroup(this)), root_(new QPushButton(this)),
      path_(UiStyle::label({}, 10, QFont::Normal, true, this)),
      up_(new QPushButton(tr("Up"), this)), body_(new QWidget(this)),
      status_(UiStyle::label({}, 10, QFont::Normal, true)), busy_(new QWidget), list_(new QWidget),
      rowModel_(new StorageChildrenModel(childStep, this)),
      rows_(new StorageChildrenList(rowModel_, 6)),
      more_(new QPushButton(tr("Show more folders and files"))), outline_(new QTreeView),
      outlineModel_(new StorageTreeModel(this))
{
    setFill([] { return Palette::surface(); });
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(20, 20, 20, 20);
    column->setSpacing(14);

    auto* header = new QHBoxLayout;
    header->addWidget(UiStyle::label(tr("Storage hierarchy"), 13, QFont::DemiBold, false, this));
    header->addStretch();
    auto* picker = new QWidget(this);
    picker->setAccessibleName(tr("View"));
    picker->setFixedWidth(190);
    auto* segments = new QHBoxLayout(picker);
    segments->setContentsMargins(0, 0, 0, 0);
    segments->setSpacing(0);
    for (const auto& [text, value] :
         {std::pair{tr("Root view"), Layout::Root}, std::pair{tr("Tree view"), Layout::Tree}}) {
        auto* segment = new QPushButton(text, picker);
        segment->setCheckable(true);
        segment->setChecked(value == Layout::Root);
        picker_->addButton(segment, int(value));
        segments->addWidget(segment);
    }
    picker_->setExclusive(true);
    connect(picker_, &QButtonGroup::idClicked, this, [this](int id) { setLayout(Layout(id)); });
    header->addWidget(picker);
    column->addLayout(header);

    auto* pathRow = new QHBoxLayout;
    pathRow->setSpacing(10);
    pathRow->addWidget(root_);
    path_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    path_->setMinimumWidth(1);
    path_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    pathRow->addWidget(path_, 1);
    pathRow->addWidget(up_);
    column->addLayout(pathRow);
    connect(root_, &QPushButton::clicked, this, [this] { setDrilledPath(std::nullopt); });
    connect(up_, &QPushButton::clicked, this, [this] {
        if (!drilledPath_) return;
        // The scanned root is as high as "Up" goes; reaching it undoes the drill-down.
        const QString parent = parentOf(*drilledPath_);
        const bool root = !tree_ || parent == tree_->path() || !tree_->find(parent);
        setDrilledPath(root ? std::nullopt : std::optional<QString>(parent));
    });

    auto* busyRow = new QHBoxLayout(busy_);
    busyRow->addWidget(new Spinner(14, busy_));
    busyRow->addWidget(UiStyle::label(tr("Building folder hierarchy…"), 11, QFont::Normal, true));
    busyRow->addStretch();
    status_->setWordWrap(true);
    auto* listColumn = new QVBoxLayout(list_);
    listColumn->setContentsMargins(0, 0, 0, 0);
    listColumn->setSpacing(6);
    listColumn->addWidget(rows_);
    listColumn->addWidget(more_, 0, Qt::AlignLeft);
    connect(rows_, &StorageChildrenList::rowPressed, this, [this](const QModelIndex& index) {
        if (const StorageNode* node = rowModel_->node(index))
            press(*node, index.data(StorageRowDelegate::DrillsRole).toBool());
    });
    connect(more_, &QPushButton::clicked, this, &StorageHierarchyView::showMoreChildren);

    outline_->setModel(outlineModel_);
    outline_->setItemDelegate(new StorageRowDelegate(0, outline_));
    outline_->setHeaderHidden(true);
    outline_->setUniformRowHeights(true);
    outline_->setFrameShape(QFrame::NoFrame);
    outline_->setMinimumHeight(420);
    outline_->viewport()->setAutoFillBackground(false);
    outline_->setAttribute(Qt::WA_MouseTracking);
    connect(outline_, &QTreeView::activated, this, [this](const QModelIndex& index) {
        if (const StorageNode* node = outlineModel_->node(index)) press(*node, false);
    });

    // One page at a time; hidden pages take no room, so the card is as tall as its content.
    auto* pages = new QVBoxLayout(body_);
    pages->setContentsMargins(0, 0, 0, 0);
    for (QWidget* page : std::initializer_list<QWidget*>{busy_, status_, list_, outline_}) {
        page->setParent(body_);
        pages->addWidget(page);
    }
    column->addWidget(body_);

    auto* footnote =
        UiStyle::label(tr("Totals describe indexed or scanned file sizes, not full volume usage. "
                          "Unindexed and protected locations may be missing."),
                       10, QFont::Normal, true, this);
    footnote->setWordWrap(true);
    column->addWidget(footnote);
    update();
}

StorageHierarchyView::~StorageHierarchyView() = default;

void StorageHierarchyView::setModel(WorkspaceModel* model)
{
    connections_.clear();
    model_ = model;
    layout_ = Layout::Root;
    picker_->button(int(Layout::Root))->setChecked(true);
    drilledPath_.reset();
    rowModel_->resetPages();
    connections_.follow(model,
                        {&WorkspaceModel::storageTreeChanged, &WorkspaceModel::activityChanged,
                         &WorkspaceModel::libraryScopeChanged},
                        this, &StorageHierarchyView::update);
    update();
}

void StorageHierarchyView::setLayout(Layout layout)
{
    if (layout == layout_) return;
    layout_ = layout;
    picker_->button(int(layout))->setChecked(true);
    update();
}

void StorageHierarchyView::setDrilledPath(std::optional<QString> path)
{
    drilledPath_ = std::move(path);
    rowModel_->resetPages();
    update();
}

int StorageHierarchyView::childLimit() const
{
    return rowModel_->limit();
}

void StorageHierarchyView::showMoreChildren()
{
    rowModel_->showMore();
    more_->setVisible(rowModel_->canFetchMore({}));
}

const StorageNode* StorageHierarchyView::shownNode() const
{
    if (!tree_) return nullptr;
    if (drilledPath_)
        if (const StorageNode* found = tree_->find(*drilledPath_)) return found;
    return tree_.get();
}

void StorageHierarchyView::update()
{
    const bool mac = !model_ || model_->isMacScope();
    const auto tree = model_ ? model_->storageTree() : nullptr;
    const bool treeChanged = tree != tree_;
    tree_ = tree;
    const StorageNode* shown = shownNode();

    root_->setText(mac ? tr("This Computer")
                       : rootName(tree_.get(), model_ ? model_->folder() : QString()));
    path_->setText(shown ? shown->path() : QString());
    up_->setVisible(drilledPath_.has_value());

    if (!tree_) {
        const bool busy = model_ && model_->busy();
        status_->setText(tr("No hierarchy yet. Refresh or scan a folder to build one."));
        showPage(busy ? Busy : Status);
        rowModel_->setNode(nullptr, nullptr);
        if (treeChanged) outlineModel_->setNode(nullptr, nullptr);
        return;
    }
    if (layout_ == Layout::Tree) {
        if (treeChanged || outlineModel_->shown() != shown) outlineModel_->setNode(tree_, shown);
        rowModel_->setNode(nullptr, nullptr);
        showPage(Outline);
        return;
    }
    rowModel_->setNode(tree_, shown);
    more_->setVisible(rowModel_->canFetchMore({}));
    showPage(List);
}

void StorageHierarchyView::showPage(int page)
{
    page_ = page;
    busy_->setVisible(page == Busy);
    status_->setVisible(page == Status);
    list_->setVisible(page == List);
    outline_->setVisible(page == Outline);
}

QString StorageHierarchyView::rootName(const StorageNode* root, const QString& folder)
{
    const QString path = root ? root->path() : folder;
    // The tree calls "/" the whole computer, which is what the computer-wide scope is called too.
    if (QDir::cleanPath(path) == QStringLiteral("/")) return tr("File System");
    QString name = root ? root->name() : QString();
    if (name.isEmpty()) name = QFileInfo(path).fileName();
    return name.isEmpty() ? path : name;
}

QString StorageHierarchyView::pathText() const
{
    return path_->text();
}

QString StorageHierarchyView::statusText() const
{
    return page_ == Status ? status_->text() : QString();
}

void StorageHierarchyView::press(const StorageNode& node, bool drill)
{
    if (node.isDirectory()) {
        if (drill) setDrilledPath(node.path());
        return;
    }
    if (!model_) return;
    const QString path = QDir::cleanPath(node.path());
    for (const FileEntry& file : model_->files())
        if (QDir::cleanPath(file.path) == path) {
            model_->open(file);
            return;
        }
}
