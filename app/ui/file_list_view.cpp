#include "ui/file_list_view.h"

#include "ui/file_list_accessible.h"
#include "ui/file_list_model.h"
#include "ui/file_menu.h"
#include "ui/folder_drop_target.h"
#include "ui/thumbnail_requests.h"
#include "workspace/workspace_model.h"

#include <QAccessible>
#include <QApplication>
#include <QContextMenuEvent>
#include <QDrag>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QRubberBand>
#include <QScrollBar>
#include <QTimer>
#include <algorithm>

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
    new FolderDropTarget(
        viewport(), [this] { return model_->workspace(); },
        [this](const QPoint& at) { return dropSpotAt(at); });
    auto later = [this] { thumbnailTimer_->start(); };
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, later);
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, this, later);
    connect(model, &QAbstractItemModel::modelReset, this, later);
    connect(model, &QAbstractItemModel::rowsInserted, this, later);
    connect(model, &QAbstractItemModel::rowsRemoved, this, later);
    FileListAccessible::install();
    connect(model, &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex&, const QModelIndex&, const QList<int>& roles) {
                if (!roles.contains(FileListModel::SelectedRole)) return;
                followSelection(true);
                if (!QAccessible::isActive()) return;
                QAccessibleEvent event(this, QAccessible::SelectionWithin);
                QAccessible::updateAccessibility(&event);
            });
    // A reload keeps the place in the list: the focus goes back to the selected item unseen.
    connect(model, &QAbstractItemModel::modelReset, this, [this] { followSelection(false); });
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

const TileLayout& FileListView::tiles() const
{
    if (tilesValid_) return tiles_;
    QSize tile = property(tileSizeProperty).toSize();
    if (model_->rowCount() > 0) {
        QStyleOptionViewItem option;
        initViewItemOption(&option);
        const QModelIndex first = model_->index(0);
        tile = itemDelegateForIndex(first)->sizeHint(option, first);
    }
    const TileLayout::Flow flow = layout_ == Layout::Grid   ? TileLayout::Flow::Wrapped
                                  : layout_ == Layout::Rows ? TileLayout::Flow::Down
                                                            : TileLayout::Flow::Across;
    tiles_ = TileLayout(flow, tile, spacing(), viewport()->size());
    tilesValid_ = true;
    return tiles_;
}

void FileListView::doItemsLayout()
{
    // The list view's own layout visits every item; the tiles need no pass at all.
    tilesValid_ = false;
    QAbstractItemView::doItemsLayout();
}

void FileListView::updateGeometries()
{
    const TileLayout& layout = tiles();
    const QSize content = layout.contentSize(model_->rowCount());
    const QSize area = viewport()->size();
    verticalScrollBar()->setSingleStep(layout.step().height() - spacing());
    verticalScrollBar()->setPageStep(area.height());
    verticalScrollBar()->setRange(0, std::max(0, content.height() - area.height()));
    horizontalScrollBar()->setSingleStep(layout.step().width() - spacing());
    horizontalScrollBar()->setPageStep(area.width());
    horizontalScrollBar()->setRange(0, std::max(0, content.width() - area.width()));
    QAbstractItemView::updateGeometries();
}

QSize FileListView::viewportSizeHint() const
{
    return tiles().contentSize(model_->rowCount());
}

int FileListView::horizontalOffset() const
{
    return horizontalScrollBar()->value();
}

int FileListView::verticalOffset() const
{
    return verticalScrollBar()->value();
}

void FileListView::scrollContentsBy(int dx, int dy)
{
    viewport()->scroll(dx, dy);
}

QRect FileListView::visualRect(const QModelIndex& index) const
{
    if (!index.isValid() || index.model() != model_ || index.row() >= model_->rowCount()) return {};
    return tiles().rect(index.row()).translated(-horizontalOffset(), -verticalOffset());
}

QModelIndex FileListView::indexAt(const QPoint& point) const
{
    const int row =
        tiles().rowAt(point + QPoint(horizontalOffset(), verticalOffset()), model_->rowCount());
    return row < 0 ? QModelIndex() : model_->index(row);
}

void FileListView::scrollTo(const QModelIndex& index, ScrollHint hint)
{
    // The scroll range must hold rows added or removed since the last layout.
    executeDelayedItemsLayout();
    const QRect rect = visualRect(index);
    if (!rect.isValid()) return;
    const QRect area = viewport()->rect();
    if (hint == EnsureVisible && area.contains(rect)) {
        viewport()->update(rect);
        return;
    }
    // The spacing around the item comes into view with it.
    const QRect wanted = rect.adjusted(-spacing(), -spacing(), spacing(), spacing());
    auto target = [hint](int value, int start, int end, int length) {
        const bool before = hint == EnsureVisible && start < 0;
        const bool after = hint == EnsureVisible && end >= length;
        if (hint == PositionAtTop || before) return value + start;
        if (hint == PositionAtBottom || after) return value + std::min(start, end - length + 1);
        if (hint == PositionAtCenter) return value + start - (length - (end - start + 1)) / 2;
        return value;
    };
    QScrollBar* across = horizontalScrollBar();
    QScrollBar* down = verticalScrollBar();
    across->setValue(target(across->value(), wanted.left(), wanted.right(), area.width()));
    down->setValue(target(down->value(), wanted.top(), wanted.bottom(), area.height()));
}

QModelIndex FileListView::moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers)
{
    const int count = model_->rowCount();
    if (count == 0) return {};
    const QModelIndex current = currentIndex();
    if (!current.isValid()) return model_->index(0);
    const int row = current.row();
    const TileLayout& layout = tiles();
    const bool across = layout_ == Layout::Strip;
    // Up and down move a line in the lines going down; a strip's one line has none.
    const int line = across ? 0 : layout.perLine();
    const int lastLine = (count - 1) / layout.perLine();
    int to = row;
    switch (cursorAction) {
    case MoveLeft:
    case MovePrevious:
        to = layout_ == Layout::Rows && cursorAction == MoveLeft ? row : row - 1;
        break;
    case MoveRight:
    case MoveNext:
        to = layout_ == Layout::Rows && cursorAction == MoveRight ? row : row + 1;
        break;
    case MoveUp:
        to = line && row >= line ? row - line : row;
        break;
    case MoveDown:
        // From the line above a short last line, down lands on its last item.
        to = line && row / line < lastLine ? std::min(count - 1, row + line) : row;
        break;
    case MovePageUp:
        to = row - layout.perPage(viewport()->size());
        break;
    case MovePageDown:
        to = row + layout.perPage(viewport()->size());
        break;
    case MoveHome:
        to = 0;
        break;
    case MoveEnd:
        to = count - 1;
        break;
    }
    if (cursorAction == MovePageUp && to < 0) to = across ? 0 : row % std::max(1, line);
    return model_->index(std::clamp(to, 0, count - 1));
}

void FileListView::setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags command)
{
    if (!selectionModel() || command == QItemSelectionModel::NoUpdate) return;
    QItemSelection chosen;
    for (const int row : rowsIn(rect.normalized()))
        chosen.select(model_->index(row), model_->index(row));
    selectionModel()->select(chosen, command);
}

QRegion FileListView::visualRegionForSelection(const QItemSelection& selection) const
{
    // Only what is on screen needs repainting.
    QRegion region;
    for (const int row : rowsIn(viewport()->rect()))
        if (selection.contains(model_->index(row))) region += visualRect(model_->index(row));
    return region;
}

void FileListView::rowsInserted(const QModelIndex& parent, int start, int end)
{
    // Not the list view's, which lays every item out again.
    QAbstractItemView::rowsInserted(parent, start, end);
    if (start == 0) tilesValid_ = false;
    updateGeometries();
    const QRect area = viewport()->rect().translated(horizontalOffset(), verticalOffset());
    // Rows added past the screen change nothing on it.
    if (start <= tiles().rowsNear(area, model_->rowCount()).second) viewport()->update();
}

void FileListView::paintEvent(QPaintEvent* event)
{
    QPainter painter(viewport());
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    const QStyle::State state = option.state;
    const QModelIndex current = currentIndex();
    const bool focus = (hasFocus() || viewport()->hasFocus()) && current.isValid();
    const QItemSelectionModel* selections = selectionModel();
    for (const int row : rowsIn(event->rect())) {
        const QModelIndex index = model_->index(row);
        option.rect = visualRect(index);
        option.state = state;
        if (selections && selections->isSelected(index)) option.state |= QStyle::State_Selected;
        if (focus && index == current) option.state |= QStyle::State_HasFocus;
        itemDelegateForIndex(index)->paint(&painter, option, index);
    }
}

void FileListView::resizeEvent(QResizeEvent* event)
{
    tilesValid_ = false;
    QListView::resizeEvent(event);
    updateGrid();
    thumbnailTimer_->start();
}

void FileListView::keyPressEvent(QKeyEvent* event)
{
    if (fileKey(event)) return;
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
    if (pressGesture(event)) return;
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
    // The list view's own version asks its item layout, which is not kept, for the item's number.
    QAbstractItemView::currentChanged(current, previous);
    if (QAccessible::isActive() && current.isValid() && hasFocus()) {
        QAccessibleEvent event(this, QAccessible::Focus);
        event.setChild(current.row());
        QAccessible::updateAccessibility(&event);
    }
    WorkspaceModel* workspace = model_->workspace();
    if (selectingFromKeys_ && current.isValid() && workspace)
        workspace->select(model_->entry(current.row()));
}

void FileListView::startDrag(Qt::DropActions)
{
    const QModelIndex index = currentIndex();
    if (!index.isValid()) return;
    pendingSelect_ = QPersistentModelIndex();
    // A selected item takes the rest of the selection along, in list order.
    QModelIndexList dragged{index};
    if (model_->isSelected(index.row())) {
        dragged.clear();
        for (int row = 0; row < model_->rowCount(); ++row)
            if (model_->isSelected(row)) dragged << model_->index(row);
    }
    auto* drag = new QDrag(this);
    drag->setMimeData(model_->mimeData(dragged));
    // Where it lands decides between the two.
    drag->exec(Qt::CopyAction | Qt::MoveAction, Qt::CopyAction);
}

std::optional<DropSpot> FileListView::dropSpotAt(const QPoint& at) const
{
    const QModelIndex index = indexAt(at);
    if (index.isValid()) {
        const FileEntry& entry = model_->entry(index.row());
        if (entry.isDirectory) return DropSpot{entry.path, visualRect(index)};
    }
    // Anywhere else is the folder listed, where there is one.
    const WorkspaceModel* workspace = model_->workspace();
    if (workspace && workspace->feature() == Feature::Explorer && !workspace->isMacScope())
        return DropSpot{workspace->folder(), viewport()->rect()};
    return std::nullopt;
}

void FileListView::followSelection(bool reveal)
{
    WorkspaceModel* workspace = model_->workspace();
    if (!workspace || workspace->selection().size() != 1) return;
    const int row = model_->rowOf(*workspace->selection().cbegin());
    if (row < 0 || row == currentIndex().row()) return;
    const QModelIndex index = model_->index(row);
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
    if (reveal) scrollTo(index);
}

void FileListView::revealSelection()
{
    followSelection(false);
    // Once shown and laid out: a view coming back into sight gets its size
    // and its rows only then.
    QTimer::singleShot(0, this, [this] {
        const QModelIndex current = currentIndex();
        if (current.isValid() && model_->isSelected(current.row()))
            scrollTo(current, PositionAtCenter);
    });
}

bool FileListView::fileKey(QKeyEvent* event)
{
    WorkspaceModel* workspace = model_->workspace();
    if (!workspace) return false;
    if (event->matches(QKeySequence::SelectAll)) {
        workspace->selectAll();
        return true;
    }
    if (event->modifiers() & ~Qt::KeypadModifier) return false;
    switch (event->key()) {
    case Qt::Key_Escape:
        // Unhandled when nothing is selected, so a sheet or the preview still gets it.
        if (workspace->selection().isEmpty()) return false;
        workspace->setSelection({});
        return true;
    case Qt::Key_Delete:
        if (!workspace->selection().isEmpty()) workspace->setConfirmTrash(true);
        return true;
    case Qt::Key_F2:
        if (const std::optional<FileEntry> chosen = workspace->selected())
            workspace->setRenameTarget(*chosen);
        return true;
    case Qt::Key_Backspace:
        typeAhead_.reset();
        workspace->enclosingFolder();
        return true;
    default:
        return false;
    }
}

void FileListView::keyboardSearch(const QString& search)
{
    WorkspaceModel* workspace = model_->workspace();
    const QString typed = typeAhead_.add(search);
    if (!workspace || typed.isEmpty()) return;
    const int rows = model_->rowCount();
    int row = 0;
    while (row < rows && !model_->entry(row).name.startsWith(typed, Qt::CaseInsensitive))
        ++row;
    if (row == rows) return;
    const QModelIndex index = model_->index(row);
    const QString path = model_->entry(row).path;
    setCurrentIndex(index);
    scrollTo(index);
    workspace->setSelection({path});
}

bool FileListView::pressGesture(QMouseEvent* event)
{
    WorkspaceModel* workspace = model_->workspace();
    if (!workspace) return false;
    pendingSelect_ = QPersistentModelIndex();
    const QPoint at = event->position().toPoint();
    const QModelIndex index = indexAt(at);
    if (!index.isValid()) {
        if (event->button() != Qt::LeftButton) return false;
        // Empty space: clears the selection (Ctrl or Shift keeps it) and starts a band.
        const bool adding = event->modifiers() & (Qt::ControlModifier | Qt::ShiftModifier);
        bandKept_ = adding ? workspace->selection() : QSet<QString>();
        if (!adding) workspace->setSelection({});
        bandOrigin_ = at + QPoint(horizontalOffset(), verticalOffset());
        if (!band_) band_ = new QRubberBand(QRubberBand::Rectangle, viewport());
        band_->setGeometry(QRect(at, QSize()));
        band_->show();
        setFocus(Qt::MouseFocusReason);
        return true;
    }
    if (event->button() == Qt::LeftButton) {
        dragFrom_ = index;
        dragStart_ = at;
    }
    const QString path = model_->entry(index.row()).path;
    const bool selected = workspace->selection().contains(path);
    if (event->button() == Qt::RightButton) {
        // The menu that follows acts on what is selected: the item under the pointer.
        if (!selected) workspace->setSelection({path});
        setCurrentIndex(index);
        return true;
    }
    if (event->button() == Qt::LeftButton && selected && event->modifiers() == Qt::NoModifier &&
        workspace->selection().size() > 1) {
        // Maybe the start of a drag of the whole selection: decided on release.
        QListView::mousePressEvent(event);
        pendingSelect_ = index;
        return true;
    }
    return false;
}

void FileListView::mouseMoveEvent(QMouseEvent* event)
{
    // The list's own drag start looks at its item selection, which stays empty here.
    if (dragFrom_.isValid() && (event->buttons() & Qt::LeftButton) &&
        (event->position().toPoint() - dragStart_).manhattanLength() >=
            QApplication::startDragDistance()) {
        setCurrentIndex(dragFrom_);
        dragFrom_ = QPersistentModelIndex();
        startDrag(Qt::CopyAction);
        return;
    }
    if (!band_ || !band_->isVisible()) {
        QListView::mouseMoveEvent(event);
        return;
    }
    const QPoint at = event->position().toPoint();
    // Past the top or bottom edge the list scrolls along with the band.
    const int overshoot = at.y() < 0 ? at.y() : std::max(0, at.y() - viewport()->height());
    if (overshoot) verticalScrollBar()->setValue(verticalScrollBar()->value() + overshoot);
    dragBand(at);
}

void FileListView::mouseReleaseEvent(QMouseEvent* event)
{
    dragFrom_ = QPersistentModelIndex();
    if (band_ && band_->isVisible()) {
        dragBand(event->position().toPoint());
        band_->hide();
        bandKept_.clear();
        return;
    }
    const QPersistentModelIndex pending = std::exchange(pendingSelect_, QPersistentModelIndex());
    QListView::mouseReleaseEvent(event);
    WorkspaceModel* workspace = model_->workspace();
    if (pending.isValid() && workspace && indexAt(event->position().toPoint()) == pending)
        workspace->setSelection({model_->entry(pending.row()).path});
}

void FileListView::dragBand(const QPoint& at)
{
    WorkspaceModel* workspace = model_->workspace();
    if (!workspace) return;
    const QPoint offset(horizontalOffset(), verticalOffset());
    const QRect area = QRect(bandOrigin_ - offset, at).normalized();
    band_->setGeometry(area.intersected(viewport()->rect()));
    QSet<QString> chosen = bandKept_;
    for (int row : rowsIn(area))
        chosen.insert(model_->entry(row).path);
    workspace->setSelection(std::move(chosen));
}

QList<int> FileListView::rowsIn(const QRect& area) const
{
    const QPoint offset(horizontalOffset(), verticalOffset());
    const auto [first, last] = tiles().rowsNear(area.translated(offset), model_->rowCount());
    QList<int> rows;
    for (int row = first; row <= last; ++row)
        if (visualRect(model_->index(row)).intersects(area)) rows << row;
    return rows;
}

void FileListView::keepVisibleThumbnails()
{
    // A hidden layout sharing the model would drop what the shown one waits for.
    if (!isVisible()) return;
    QSet<QString> shown;
    for (const int row : rowsIn(viewport()->rect()))
        shown.insert(model_->entry(row).path);
    model_->keepThumbnails(shown);
}
