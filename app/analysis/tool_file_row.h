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
// the file's context menu. A hard link of another listed file names that file
// instead of its folder, and its menu offers no trash: trashing it frees nothing.
class ToolFileRow : public CardFrame {
    Q_OBJECT
public:
    explicit ToolFileRow(QWidget* parent = nullptr);
    // `sameFileAs`: the path of the listed file that `file` is a hard link of, if any.
    void set(WorkspaceModel* model, const FileEntry& file, const QString& sameFileAs = {});
    const FileEntry& file() const { return file_; }
    // The line under the name: the folder, or which file this one is the same as.
    QString detail() const;
    QPushButton* previewButton() const { return preview_; }
    QToolButton* menuButton() const { return menu_; }

private:
    QPointer<WorkspaceModel> model_;
    FileEntry file_;
    QString sameFileAs_;
    MediaThumbnail* thumbnail_;
    QLabel* name_;
    QLabel* folder_;
    QLabel* size_;
    QPushButton* preview_;
    QToolButton* menu_;
};
