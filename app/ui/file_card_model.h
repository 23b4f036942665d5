#pragma once

#include "file_entry.h"
#include "ui/paged_list_model.h"

#include <QHash>
#include <QPointer>

class ThumbnailRequests;
class WorkspaceModel;

// The files of one list of file cards (a timeline day, Large Files, a group
// of duplicates), shown a page at a time. Rows repaint when their thumbnail
// arrives.
class FileCardModel : public PagedListModel {
    Q_OBJECT
public:
    enum Role {
        EntryRole = Qt::UserRole + 1,
        // The path of the listed file this one is a hard link of; empty if none.
        SameFileAsRole,
        // The line under the name: the folder, or which file this one is the same as.
        DetailRole,
    };

    // `pageSize`: the rows shown at first and added by each fetchMore().
    explicit FileCardModel(int pageSize, QObject* parent = nullptr);
    ~FileCardModel() override;

    // The model the rows open files in and take their menus from.
    void setWorkspace(WorkspaceModel* model);
    WorkspaceModel* workspace() const;

    // Replaces the files, showing as many pages as before. `sameFileAs` maps a
    // hard link's path to the listed file it is the same as.
    void setFiles(QList<FileEntry> files, QHash<QString, QString> sameFileAs = {});
    int total() const override { return int(files_.size()); }
    const FileEntry& entry(int row) const { return files_.at(row); }
    QString sameFileAs(int row) const;
    // The row's picture at `edge` if it has arrived; otherwise null, and the
    // row repaints when it comes.
    QImage thumbnail(int row, qreal edge) const;
    // Thumbnails asked for and not yet arrived.
    int pendingThumbnails() const;

    QVariant data(const QModelIndex& index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    void repaintPath(const QString& path);

    QPointer<WorkspaceModel> workspace_;
    QList<FileEntry> files_;
    QHash<QString, QString> sameFileAs_;
    ThumbnailRequests* thumbnails_;
};
