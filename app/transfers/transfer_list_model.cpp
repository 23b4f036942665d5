#include "transfers/transfer_list_model.h"

#include "file_size_format.h"
#include "sections/translated_value.h"
#include "workspace/workspace_model.h"

#include <QSet>

TransferListModel::TransferListModel(QObject* parent) : QAbstractListModel(parent) {}

TransferListModel::~TransferListModel()
{
    connections_.clear();
}

void TransferListModel::setWorkspace(WorkspaceModel* workspace)
{
    connections_.clear();
    workspace_ = workspace;
    connections_.follow(workspace,
                        {&WorkspaceModel::transfersChanged, &WorkspaceModel::queryChanged}, this,
                        &TransferListModel::refresh);
    refresh();
}

void TransferListModel::refresh()
{
    QList<Row> wanted;
    totalCount_ = 0;
    if (workspace_) {
        const QString query = workspace_->query();
        const QList<TransferItem>& all = workspace_->transfers();
        totalCount_ = int(all.size());
        for (const TransferItem& item : all) {
            if (!query.isEmpty() && !item.name().contains(query, Qt::CaseInsensitive)) continue;
            wanted.append({item, workspace_->transferPlace(item.id, -1).has_value(),
                           workspace_->transferPlace(item.id, 1).has_value()});
        }
    }
    follow(wanted);
    Q_EMIT refreshed();
}

void TransferListModel::follow(const QList<Row>& wanted)
{
    // Rows are matched by job: those gone are removed, then each wanted job is
    // moved to or inserted at its place, then kept rows whose job changed say so.
    QSet<QUuid> wantedIds;
    for (const Row& row : wanted)
        wantedIds.insert(row.item.id);
    for (int at = int(rows_.size()) - 1; at >= 0; --at) {
        if (wantedIds.contains(rows_[at].item.id)) continue;
        int first = at;
        while (first > 0 && !wantedIds.contains(rows_[first - 1].item.id))
            --first;
        beginRemoveRows({}, first, at);
        rows_.remove(first, at - first + 1);
        endRemoveRows();
        at = first;
    }
    QList<int> changed;
    for (int at = 0; at < wanted.size(); ++at) {
        const Row& row = wanted[at];
        if (at < rows_.size() && rows_[at].item.id == row.item.id) {
            if (!(rows_[at] == row)) changed << at;
            rows_[at] = row;
            continue;
        }
        int from = at + 1;
        while (from < rows_.size() && rows_[from].item.id != row.item.id)
            ++from;
        if (from < rows_.size()) {
            beginMoveRows({}, from, from, {}, at);
            rows_.move(from, at);
            endMoveRows();
            changed << at;
            rows_[at] = row;
        } else {
            beginInsertRows({}, at, at);
            rows_.insert(at, row);
            endInsertRows();
        }
    }
    for (int row : std::as_const(changed))
        Q_EMIT dataChanged(index(row), index(row));
}

QString TransferListModel::statusText(TransferStatus status)
{
    return translatedValue("TransferStatus", status);
}

int TransferListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(rows_.size());
}

QVariant TransferListModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const Row& row = rows_[index.row()];
    const TransferItem& item = row.item;
    const bool copying = item.status == TransferStatus::Copying;
    switch (role) {
    case NameRole:
        return item.name();
    case StatusTextRole:
        return item.paused ? tr("Paused") : statusText(item.status);
    case DestinationRole:
        return item.destination();
    case StatusRole:
        return int(item.status);
    case PausedRole:
        return item.paused;
    case ProgressRole: {
        const double part = item.total > 0 ? double(item.bytes) / double(item.total) : 0.0;
        return copying ? int(std::clamp(part, 0.0, 1.0) * 1000) : 0;
    }
    case ProgressTextRole:
        return copying ? tr("%1 of %2", "bytes copied of total")
                             .arg(formatFileSize(item.bytes), formatFileSize(item.total))
                       : QString();
    case ErrorRole:
        return item.error.value_or(QString());
    case IdRole:
        return item.id;
    case CanMoveUpRole:
        return row.earlier;
    case CanMoveDownRole:
        return row.later;
    case RevealPathRole:
        // Where the item is now, once placed, else its source.
        if (item.outcome && !item.outcome->placed.isEmpty())
            return item.outcome->placed.constFirst().to;
        return item.source;
    default:
        return {};
    }
}

QHash<int, QByteArray> TransferListModel::roleNames() const
{
    QHash<int, QByteArray> names = QAbstractListModel::roleNames();
    names.insert({{StatusTextRole, "statusText"},
                  {DestinationRole, "destination"},
                  {StatusRole, "status"},
                  {PausedRole, "paused"},
                  {ProgressRole, "progress"},
                  {ProgressTextRole, "progressText"},
                  {ErrorRole, "error"},
                  {IdRole, "id"},
                  {CanMoveUpRole, "canMoveUp"},
                  {CanMoveDownRole, "canMoveDown"},
                  {RevealPathRole, "revealPath"}});
    return names;
}
