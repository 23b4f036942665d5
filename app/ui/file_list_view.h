#pragma once

#include <QListView>

class FileListModel;
class QTimer;

// A list view over a FileListModel that acts on its workspace model: a click
// selects (with the held modifiers), a double click or Return opens, Space
// previews, arrow keys move and select, the context menu is the file menu,
// items drag out as file URLs. Thumbnails are asked for only for the items in
// view and cancelled for those that scroll away.
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

protected:
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void startDrag(Qt::DropActions supportedActions) override;

private:
    void updateGrid();
    void keepVisibleThumbnails();

    FileListModel* model_;
    Layout layout_;
    int minimumWidth_ = 132;
    int tileHeight_ = 146;
    int spacing_ = 14;
    bool selectingFromKeys_ = false;
    QTimer* thumbnailTimer_;
};
