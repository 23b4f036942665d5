#pragma once

#include "file_entry.h"
#include "workspace/visible_entries.h"

#include <QAbstractListModel>
#include <QHash>
#include <QPointer>

class ThumbnailRequests;
struct RowDiff;
class WorkspaceModel;

// The entries a section shows, as one list model that every layout shares.
// Follows the workspace model's visible list and selection; rows repaint when
// their thumbnail arrives.
class FileListModel : public QAbstractListModel {
    Q_OBJECT
public:
    enum Role { EntryRole = Qt::UserRole + 1, SelectedRole };

    explicit FileListModel(QObject* parent = nullptr);
    ~FileListModel() override;

    // Follows `model`'s visible list (none: empty).
    void setWorkspace(WorkspaceModel* model);
    WorkspaceModel* workspace() const;
    // Replaces the list once (for views that page or group the entries).
    void setEntries(QList<FileEntry> entries);
    // Re-reads the model's visible list (done on its change signals). Rows that
    // come, go or change are announced as such, so views keep their place.
    void reload();

    // Valid until the list next changes: hand copies to anything that may change it.
    const FileEntry& entry(int row) const { return entries_.at(row); }
    // -1 when the path is not listed.
    int rowOf(const QString& path) const;
    bool isSelected(int row) const;
    // The row's picture at `edge` if it has arrived; otherwise null, and the
    // row repaints when it comes.
    QImage thumbnail(int row, qreal edge) const;
    // Stops the picture requests of paths not in `shown` (the rows on screen).
    void keepThumbnails(const QSet<QString>& shown);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;

Q_SIGNALS:
    void entriesChanged();

private:
    void announce(const RowDiff& diff, VisibleEntries shown);
    void beginGrowth(qsizetype from, qsizetype count);
    void endGrowth();
    void repaintSelection();
    void repaintPath(const QString& path);

    QPointer<WorkspaceModel> workspace_;
    QList<QMetaObject::Connection> connections_;
    VisibleEntries entries_;
    QHash<QString, int> rows_;
    // Rows waiting for a picture, so an arrival finds its row without indexing every path.
    mutable QHash<QString, int> waiting_;
    bool followsVisible_ = true;
    // Where rows are being added while the workspace's files grow, else -1.
    int growingFrom_ = -1;
    ThumbnailRequests* thumbnails_;
};
