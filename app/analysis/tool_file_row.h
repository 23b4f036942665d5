#pragma once

#include "file_entry.h"
#include "ui/card_frame.h"

#include <QPointer>

class MediaThumbnail;
class QLabel;
class QPushButton;
class QToolButton;
class WorkspaceModel;

// One file in an analysis list: thumbnail, name, folder, size, "Preview" and
// the file's context menu.
class ToolFileRow : public CardFrame {
    Q_OBJECT
public:
    explicit ToolFileRow(QWidget* parent = nullptr);
    void set(WorkspaceModel* model, const FileEntry& file);
    const FileEntry& file() const { return file_; }
    QPushButton* previewButton() const { return preview_; }
    QToolButton* menuButton() const { return menu_; }

private:
    QPointer<WorkspaceModel> model_;
    FileEntry file_;
    MediaThumbnail* thumbnail_;
    QLabel* name_;
    QLabel* folder_;
    QLabel* size_;
    QPushButton* preview_;
    QToolButton* menu_;
};
