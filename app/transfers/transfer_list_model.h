#pragma once

#include "transfer_item.h"
#include "ui/model_connections.h"

#include <QAbstractListModel>
#include <QPointer>

class WorkspaceModel;

// The copy jobs of a workspace's queue, in queue order, narrowed to those
// whose name holds the search text. Progress arrives several times a second,
// so a change is announced as the rows it touches (inserted, moved, removed
// or changed), never as a reset.
class TransferListModel : public QAbstractListModel {
    Q_OBJECT
public:
    enum Role {
        NameRole = Qt::DisplayRole,
        StatusTextRole = Qt::UserRole, // "Queued", …, or "Paused" for a held job
        DestinationRole,
        StatusRole,       // TransferStatus as int
        PausedRole,       // bool
        ProgressRole,     // 0–1000 of the bytes written while copying
        ProgressTextRole, // "1 MB of 4 MB" while copying, else empty
        ErrorRole,        // the failure; empty unless there is one
        IdRole,           // QUuid
        CanMoveUpRole,    // whether the job can start earlier
        CanMoveDownRole,  // … or later
        RevealPathRole,   // what "Show in File Manager" shows
    };

    explicit TransferListModel(QObject* parent = nullptr);
    ~TransferListModel() override;
    void setWorkspace(WorkspaceModel* workspace);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QHash<int, QByteArray> roleNames() const override;

    // Jobs in the whole queue, whether the search leaves them or not.
    int totalCount() const { return totalCount_; }
    const TransferItem& item(int row) const { return rows_[row].item; }
    // A status as the rows show it, in the user's language.
    static QString statusText(TransferStatus status);

Q_SIGNALS:
    // After the rows have followed the queue or the search.
    void refreshed();

private:
    struct Row {
        TransferItem item;
        bool earlier = false;
        bool later = false;
        friend bool operator==(const Row&, const Row&) = default;
    };

    void refresh();
    void follow(const QList<Row>& wanted);

    QPointer<WorkspaceModel> workspace_;
    ModelConnections connections_;
    QList<Row> rows_;
    int totalCount_ = 0;
};
