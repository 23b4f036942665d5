#include "ui/file_list_model.h"

#include "native_path.h"
#include "ui/row_diff.h"
#include "ui/thumbnail_requests.h"
#include "workspace/workspace_model.h"

#include <QMimeData>
#include <QMimeDatabase>
#include <QUrl>
#include <numeric>

namespace {

// What a person would call the item: "Folder", or its type's description.
QString kindOf(const FileEntry& file)
{
    if (file.isDirectory) return QStringLiteral("Folder");
    // By name only: reading contents for every item a screen reader passes would be slow.
    const QMimeType type =
        QMimeDatabase().mimeTypeForFile(file.path, QMimeDatabase::MatchExtension);
    return type.comment().isEmpty() ? type.name() : type.comment();
}

} // namespace

FileListModel::FileListModel(QObject* parent)
    : QAbstractListModel(parent), thumbnails_(new ThumbnailRequests(600, this))
{
    connect(thumbnails_, &ThumbnailRequests::ready, this, &FileListModel::repaintPath);
}

FileListModel::~FileListModel() = default;

WorkspaceModel* FileListModel::workspace() const
{
    return workspace_.data();
}

void FileListModel::setWorkspace(WorkspaceModel* model)
{
    for (const auto& connection : std::as_const(connections_))
        disconnect(connection);
    connections_.clear();
    workspace_ = model;
    followsVisible_ = true;
    if (model) {
        // Every input of visible(): the list, the search, the order, the scope.
        for (auto signal :
             {&WorkspaceModel::filesChanged, &WorkspaceModel::queryChanged,
              &WorkspaceModel::sortByDateChanged, &WorkspaceModel::libraryResultChanged,
              &WorkspaceModel::libraryScopeChanged, &WorkspaceModel::featureChanged})
            connections_ << connect(model, signal, this, [this] {
                if (followsVisible_) reload();
            });
        connections_ << connect(model, &WorkspaceModel::selectionChanged, this,
                                &FileListModel::repaintSelection);
        connections_ << connect(model, &WorkspaceModel::filesAboutToGrow, this,
                                &FileListModel::beginGrowth);
        connections_ << connect(model, &WorkspaceModel::filesGrew, this, &FileListModel::endGrowth);
    }
    thumbnails_->clear();
    reload();
}

void FileListModel::reload()
{
    VisibleEntries shown;
    if (workspace_) shown = workspace_->visibleEntries();
    const RowDiff diff = RowDiff::between(entries_, shown);
    rows_.clear();
    waiting_.clear();
    if (diff.reset) {
        beginResetModel();
        entries_ = std::move(shown);
        endResetModel();
    } else {
        announce(diff, std::move(shown));
    }
    Q_EMIT entriesChanged();
}

void FileListModel::announce(const RowDiff& diff, VisibleEntries shown)
{
    if (diff.removed.isEmpty() && diff.inserted.isEmpty()) {
        entries_ = std::move(shown);
    } else {
        // Between the steps the rows are positions in the old entries followed
        // by the new ones, so that each step leaves the model as it announced;
        // the new list takes over at the end.
        QList<FileEntry> both = entries_.toList();
        const int oldCount = int(both.size());
        QList<int> order(oldCount);
        std::iota(order.begin(), order.end(), 0);
        for (const RowDiff::Range& range : diff.inserted)
            for (int row = range.first; row <= range.last; ++row)
                both.append(shown.at(row));
        entries_ = VisibleEntries{std::move(both), std::move(order), false};
        for (auto range = diff.removed.crbegin(); range != diff.removed.crend(); ++range) {
            beginRemoveRows({}, range->first, range->last);
            entries_.rows.remove(range->first, range->last - range->first + 1);
            endRemoveRows();
        }
        int added = oldCount;
        for (const RowDiff::Range& range : diff.inserted) {
            beginInsertRows({}, range.first, range.last);
            for (int row = range.first; row <= range.last; ++row)
                entries_.rows.insert(row, added++);
            endInsertRows();
        }
        entries_ = std::move(shown);
    }
    // Many changed rows are repainted as one span rather than row by row.
    if (diff.changed.size() > 64)
        Q_EMIT dataChanged(index(diff.changed.first()), index(diff.changed.last()));
    else
        for (const int row : diff.changed)
            Q_EMIT dataChanged(index(row), index(row));
}

void FileListModel::beginGrowth(qsizetype from, qsizetype count)
{
    // Rows showing the files as they are grow with them, without comparing
    // the whole list; the shared list is let go until then, so that adding to
    // it copies nothing.
    const bool growing = followsVisible_ && entries_.all && entries_.size() == from &&
                         entries_.source.isSharedWith(workspace_->files());
    if (!growing) return;
    growingFrom_ = int(from);
    beginInsertRows({}, int(from), int(from + count - 1));
    entries_.source = {};
}

void FileListModel::endGrowth()
{
    const int from = std::exchange(growingFrom_, -1);
    if (from < 0) {
        if (followsVisible_) reload();
        return;
    }
    entries_ = workspace_->visibleEntries();
    // A lookup table already built learns the new rows.
    if (!rows_.isEmpty())
        for (int row = from; row < entries_.size(); ++row)
            rows_.insert(entries_.at(row).path, row);
    endInsertRows();
    Q_EMIT entriesChanged();
}

void FileListModel::setEntries(QList<FileEntry> entries)
{
    followsVisible_ = false;
    beginResetModel();
    entries_ = VisibleEntries{std::move(entries), {}, true};
    rows_.clear();
    waiting_.clear();
    endResetModel();
    Q_EMIT entriesChanged();
}

int FileListModel::rowOf(const QString& path) const
{
    if (rows_.isEmpty() && !entries_.isEmpty()) {
        // Built on first use: most lists are shown without ever being searched.
        auto& rows = const_cast<QHash<QString, int>&>(rows_);
        rows.reserve(entries_.size());
        for (int row = 0; row < entries_.size(); ++row)
            rows.insert(entries_.at(row).path, row);
    }
    return rows_.value(path, -1);
}

bool FileListModel::isSelected(int row) const
{
    return workspace_ && row >= 0 && row < entries_.size() &&
           workspace_->selection().contains(entries_.at(row).path);
}

int FileListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(entries_.size());
}

QVariant FileListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= entries_.size()) return {};
    const FileEntry& file = entries_.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
        return file.name;
    case Qt::AccessibleDescriptionRole:
        return kindOf(file);
    case Qt::ToolTipRole:
        return file.path;
    case EntryRole:
        return QVariant::fromValue(file);
    case SelectedRole:
        return isSelected(index.row());
    default:
        return {};
    }
}

Qt::ItemFlags FileListModel::flags(const QModelIndex& index) const
{
    if (!index.isValid()) return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled;
}

QStringList FileListModel::mimeTypes() const
{
    return {QStringLiteral("text/uri-list")};
}

QMimeData* FileListModel::mimeData(const QModelIndexList& indexes) const
{
    QList<QUrl> urls;
    for (const QModelIndex& index : indexes)
        if (index.isValid() && index.row() < entries_.size())
            urls << urlForPath(entries_.at(index.row()).path);
    auto* data = new QMimeData;
    data->setUrls(urls);
    return data;
}

void FileListModel::repaintSelection()
{
    if (!entries_.isEmpty())
        Q_EMIT dataChanged(index(0), index(int(entries_.size()) - 1), {SelectedRole});
}

QImage FileListModel::thumbnail(int row, qreal edge) const
{
    const FileEntry& file = entries_.at(row);
    QImage image = thumbnails_->image(file, edge);
    if (image.isNull() && thumbnails_->isAwaited(file.path, edge)) waiting_.insert(file.path, row);
    return image;
}

void FileListModel::keepThumbnails(const QSet<QString>& shown)
{
    thumbnails_->keepOnly(shown);
    waiting_.removeIf([&shown](const auto& entry) { return !shown.contains(entry.key()); });
}

void FileListModel::repaintPath(const QString& path)
{
    const auto waiting = waiting_.constFind(path);
    const int row = waiting == waiting_.cend() ? -1 : *waiting;
    waiting_.remove(path);
    if (row >= 0 && row < entries_.size() && entries_.at(row).path == path) {
        Q_EMIT dataChanged(index(row), index(row));
        return;
    }
    // The rows moved since it was asked for. Finding it would index every path
    // of a long list; a repaint of what is shown finds it for free.
    if (!rows_.isEmpty()) {
        const int shown = rowOf(path);
        if (shown >= 0) Q_EMIT dataChanged(index(shown), index(shown));
    } else if (!entries_.isEmpty()) {
        Q_EMIT dataChanged(index(0), index(int(entries_.size()) - 1), {Qt::DecorationRole});
    }
}
