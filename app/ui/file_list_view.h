#pragma once

#include "ui/folder_drop_target.h"
#include "ui/tile_layout.h"
#include "ui/type_ahead.h"

#include <QListView>
#include <QSet>
#include <optional>

class FileListModel;
class QRubberBand;
class QTimer;

// A list view over a FileListModel that acts on its workspace model: a click
// selects (with the held modifiers), a double click or Return opens, Space
// previews, arrow keys move and select, the context menu is the file menu,
// items drag out as file URLs and files dropped on a folder are moved or
// copied there. Thumbnails are asked for only for the items in
// view and cancelled for those that scroll away.
//
// The gestures of a file manager come on top: Escape clears the selection,
// Delete asks to move it to the trash, F2 renames, Backspace goes to the
// enclosing folder, Ctrl+A selects all, typing a name's first letters selects
// it; a click on empty space clears the selection and a drag there selects
// with a rubber band; a right click selects the item under it first, and
// dragging a selected item drags the whole selection.
//
// Every item has the size of the first, so where one goes is worked out from
// its row (TileLayout), not laid out item by item: rows added to a long list
// cost nothing for those already there.
class FileListView : public QListView {
    Q_OBJECT
public:
    enum class Layout {
        Grid,  // wrapping tiles; the tile width stretches to fill the row
        Rows,  // one full-width row per entry
        Strip, // one horizontal line of fixed-width tiles
    };

    FileListView(FileListModel* model, Layout layout, QWidget* parent = nullptr);
    FileListModel* fileModel() const { return model_; }
    // For grids: the smallest tile width and the tile height (stretched to fill).
    void setTileSize(int minimumWidth, int height, int spacing);
    // Whether typed letters still add up to one name.
    bool isTypingAhead() const { return typeAhead_.isTyping(); }
    // Brings the lone selected item into view, as when coming back to a list.
    void revealSelection();

    QRect visualRect(const QModelIndex& index) const override;
    QModelIndex indexAt(const QPoint& point) const override;
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;
    void doItemsLayout() override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void updateGeometries() override;
    int horizontalOffset() const override;
    int verticalOffset() const override;
    void scrollContentsBy(int dx, int dy) override;
    QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;
    void setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags command) override;
    QRegion visualRegionForSelection(const QItemSelection& selection) const override;
    QSize viewportSizeHint() const override;
    void rowsInserted(const QModelIndex& parent, int start, int end) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyboardSearch(const QString& search) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void startDrag(Qt::DropActions supportedActions) override;

private:
    void updateGrid();
    // The tiles as the view stands: its flow, the first item's size, the viewport.
    const TileLayout& tiles() const;
    // The folder a drop at `at` (viewport coordinates) goes into: a folder's
    // item, or the Explorer's folder around the items.
    std::optional<DropSpot> dropSpotAt(const QPoint& at) const;
    void keepVisibleThumbnails();
    // The file-manager keys; true when the key was one of them.
    bool fileKey(QKeyEvent* event);
    // The presses that select before (or instead of) the list's own handling;
    // true when the press is fully handled.
    bool pressGesture(QMouseEvent* event);
    void dragBand(const QPoint& at);
    // The current item (and its focus ring) moves to a lone selected item.
    void followSelection(bool reveal);
    // The rows whose items meet `area` (viewport coordinates).
    QList<int> rowsIn(const QRect& area) const;

    FileListModel* model_;
    Layout layout_;
    int minimumWidth_ = 132;
    int tileHeight_ = 146;
    int spacing_ = 14;
    bool selectingFromKeys_ = false;
    QTimer* thumbnailTimer_;
    TypeAhead typeAhead_;
    QRubberBand* band_ = nullptr;
    QPoint bandOrigin_;                   // in content coordinates
    QSet<QString> bandKept_;              // the selection a Ctrl or Shift band adds to
    QPersistentModelIndex pendingSelect_; // a press on a selected item, decided on release
    QPersistentModelIndex dragFrom_;      // the item a left press went down on
    QPoint dragStart_;
    mutable TileLayout tiles_;
    mutable bool tilesValid_ = false;
};
