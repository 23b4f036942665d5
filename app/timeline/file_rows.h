#pragma once

#include "file_entry.h"

#include <QHash>
#include <QPointer>
#include <QWidget>

class ThumbnailRequests;
class WorkspaceModel;

// A column of file rows (thumbnail, name over folder, size, "Preview" and a
// menu button), painted rather than built from widgets so that long days
// cost one widget. Only rows in view are painted and ask for thumbnails.
class FileRows : public QWidget {
    Q_OBJECT
public:
    static constexpr int rowHeight = 52;
    static constexpr int spacing = 5;
    static constexpr int thumbnailEdge = 64;

    explicit FileRows(QWidget* parent = nullptr);
    ~FileRows() override;

    void setModel(WorkspaceModel* model);
    void setFiles(QList<FileEntry> files);
    const QList<FileEntry>& files() const { return files_; }
    int count() const { return int(files_.size()); }
    // Thumbnails asked for and not yet arrived.
    int pendingThumbnails() const;

    QRect rowRect(int row) const;
    QRect previewRect(int row) const;
    QRect menuRect(int row) const;
    int rowAt(const QPoint& point) const;
    int currentRow() const { return current_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

Q_SIGNALS:
    // The file menu of `row` is about to pop up.
    void menuAboutToShow(int row);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool event(QEvent* event) override;

private:
    enum class Part { None, Preview, Menu };
    struct Hit {
        int row = -1;
        Part part = Part::None;
        friend bool operator==(const Hit&, const Hit&) = default;
    };
    Hit hitAt(const QPoint& point) const;
    void setHover(Hit hit);
    void showMenu(int row);

    QPointer<WorkspaceModel> model_;
    QList<FileEntry> files_;
    QHash<QString, int> rowOfPath_;
    ThumbnailRequests* thumbnails_;
    Hit hover_;
    Hit pressed_;
    // The row the keyboard acts on while the list has focus.
    int current_ = 0;
};
