#include "file_list_view.h"

#include "file_list_model.h"
#include "file_menu.h"
#include "thumbnail_requests.h"
#include "workspace_model.h"

#include <QContextMenuEvent>
#include <QDrag>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTimer>

namespace {
const char* tileSizeProperty = "quorvaneTileSize";
}

FileListView::FileListView(FileListModel* model, Layout layout, QWidget* parent)
    : QListView(parent), model_(model), layout_(layout), thumbnailTimer_(new QTimer(this))
{
    setModel(model);
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::NoSelection); // the workspace model owns the selection
    setDragEnabled(true);
    setDragDropMode(QAbstractItemView::DragOnly);
    setFrameShape(QFrame::NoFrame);
    setMouseTracking(false);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    viewport()->setAutoFillBackground(false);
    setAttribute(Qt::WA_MacShowFocusRect, false);
    switch (layout) {
    case Layout::Grid:
        setFlow(QListView::LeftToRight);
        setWrapping(true);
        setResizeMode(QListView::Adjust);
        setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        break;
    case Layout::Rows:
        setFlow(QListView::TopToBottom);
        setWrapping(false);
        setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        break;
    case Layout::Strip:
        setFlow(QListView::LeftToRight);
        setWrapping(false);
        setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        break;
    }
    thumbnailTimer_->setSingleShot(true);
    thumbnailTimer_->setInterval(60);
    connect(thumbnailTimer_, &QTimer::timeout, this, &FileListView::keepVisibleThumbnails);
    auto later = [this] { thumbnailTimer_->start(); };
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, later);
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, this, later);
    connect(model, &QAbstractItemModel::modelReset, this, later);
    updateGrid();
}

void FileListView::setTileSize(int minimumWidth, int height, int spacing)
{
    minimumWidth_ = minimumWidth;
    tileHeight_ = height;
    spacing_ = spacing;
    updateGrid();
}

void FileListView::updateGrid()
{
    QSize tile;
    if (layout_ == Layout::Grid) {
        const int width = std::max(1, viewport()->width() - spacing_);
        const int columns = std::max(1, (width + spacing_) / (minimumWidth_ + spacing_));
        const int tileWidth =
            std::max(minimumWidth_, (width - (columns - 1) * spacing_) / columns) - 1;
        tile = QSize(tileWidth, tileHeight_);
        setSpacing(spacing_ / 2);
    } else if (layout_ == Layout::Rows) {
        tile = QSize(std::max(1, viewport()->width()), tileHeight_);
        setSpacing(0);
    } else {
        tile = QSize(minimumWidth_, tileHeight_);
        setSpacing(spacing_ / 2);
    }
    if (property(tileSizeProperty).toSize() == tile) return;
    setProperty(tileSizeProperty, tile);
    // Uniform sizes are cached by the view; a layout pass picks up the new one.
    scheduleDelayedItemsLayout();
}

void FileListView::resizeEvent(QResizeEvent* event)
{
    QListView::resizeEvent(event);
    updateGrid();
    thumbnailTimer_->start();
}

void FileListView::keyPressEvent(QKeyEvent* event)
{
    WorkspaceModel* workspace = model_->workspace();
    const QModelIndex current = currentIndex();
    if (workspace && event->modifiers() == Qt::NoModifier) {
        if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
            current.isValid()) {
            workspace->open(model_->entry(current.row()));
            return;
        }
        if (event->key() == Qt::Key_Space) {
            if (current.isValid() && workspace->selection().isEmpty())
                workspace->select(model_->entry(current.row()));
            workspace->preview();
            return;
        }
    }
    selectingFromKeys_ = true;
    QListView::keyPressEvent(event);
    selectingFromKeys_ = false;
}

void FileListView::mousePressEvent(QMouseEvent* event)
{
    QListView::mousePressEvent(event);
    const QModelIndex index = indexAt(event->position().toPoint());
    WorkspaceModel* workspace = model_->workspace();
    if (index.isValid() && workspace && event->button() == Qt::LeftButton)
        workspace->select(model_->entry(index.row()));
}

void FileListView::mouseDoubleClickEvent(QMouseEvent* event)
{
    const QModelIndex index = indexAt(event->position().toPoint());
    WorkspaceModel* workspace = model_->workspace();
    if (index.isValid() && workspace && event->button() == Qt::LeftButton) {
        workspace->open(model_->entry(index.row()));
        return;
    }
    QListView::mouseDoubleClickEvent(event);
}

void FileListView::contextMenuEvent(QContextMenuEvent* event)
{
    QModelIndex index =
        event->reason() == QContextMenuEvent::Mouse ? indexAt(event->pos()) : currentIndex();
    WorkspaceModel* workspace = model_->workspace();
    if (!index.isValid() || !workspace) return;
    QMenu menu(this);
    fillFileMenu(menu, *workspace, model_->entry(index.row()));
    const QPoint at = event->reason() == QContextMenuEvent::Mouse
                          ? event->globalPos()
                          : viewport()->mapToGlobal(visualRect(index).center());
    menu.exec(at);
}

void FileListView::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    QListView::currentChanged(current, previous);
    WorkspaceModel* workspace = model_->workspace();
    if (selectingFromKeys_ && current.isValid() && workspace)
        workspace->select(model_->entry(current.row()));
}

void FileListView::startDrag(Qt::DropActions)
{
    const QModelIndex index = currentIndex();
    if (!index.isValid()) return;
    auto* drag = new QDrag(this);
    drag->setMimeData(model_->mimeData({index}));
    drag->exec(Qt::CopyAction);
}

void FileListView::keepVisibleThumbnails()
{
    const int rows = model_->rowCount();
    QSet<QString> shown;
    if (rows > 0) {
        const QRect area = viewport()->rect();
        QModelIndex first = indexAt(area.topLeft() + QPoint(spacing_, spacing_));
        if (!first.isValid()) first = indexAt(area.topLeft() + QPoint(spacing_ + 2, 2));
        const int from = first.isValid() ? first.row() : 0;
        for (int row = from; row < rows && row < from + 400; ++row) {
            const QRect rect = visualRect(model_->index(row));
            if (!rect.intersects(area)) {
                if (rect.top() > area.bottom() || rect.left() > area.right()) break;
                continue;
            }
            shown.insert(model_->entry(row).path);
        }
    }
    model_->thumbnails().keepOnly(shown);
}
