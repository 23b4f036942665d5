#include "ui/file_card_model.h"

#include "ui/thumbnail_requests.h"
#include "workspace/workspace_model.h"

#include <QFileInfo>

FileCardModel::FileCardModel(int pageSize, QObject* parent)
    : PagedListModel(pageSize, parent), thumbnails_(new ThumbnailRequests(400, this))
{
    connect(thumbnails_, &ThumbnailRequests::ready, this, &FileCardModel::repaintPath);
}

FileCardModel::~FileCardModel() = default;

void FileCardModel::setWorkspace(WorkspaceModel* model)
{
    workspace_ = model;
}

WorkspaceModel* FileCardModel::workspace() const
{
    return workspace_;
}

void FileCardModel::setFiles(QList<FileEntry> files, QHash<QString, QString> sameFileAs)
{
    if (files == files_ && sameFileAs == sameFileAs_) return;
    beginResetModel();
    files_ = std::move(files);
    sameFileAs_ = std::move(sameFileAs);
    fitPagesToTotal();
    endResetModel();
}

QString FileCardModel::sameFileAs(int row) const
{
    return sameFileAs_.value(files_.at(row).path);
}

QImage FileCardModel::thumbnail(int row, qreal edge) const
{
    return thumbnails_->image(files_.at(row), edge);
}

int FileCardModel::pendingThumbnails() const
{
    return thumbnails_->pending();
}

QVariant FileCardModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const FileEntry& file = files_.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
        return file.name;
    case Qt::ToolTipRole:
        return file.path;
    case EntryRole:
        return QVariant::fromValue(file);
    case SameFileAsRole:
        return sameFileAs(index.row());
    case DetailRole: {
        const QString same = sameFileAs(index.row());
        return same.isEmpty() ? QFileInfo(file.path).path()
                              : tr("Same file as \u201C%1\u201D").arg(QFileInfo(same).fileName());
    }
    default:
        return {};
    }
}

Qt::ItemFlags FileCardModel::flags(const QModelIndex& index) const
{
    if (!index.isValid()) return Qt::NoItemFlags;
    return Qt::ItemIsEnabled;
}

void FileCardModel::repaintPath(const QString& path)
{
    for (int row = 0; row < rowCount(); ++row)
        if (files_.at(row).path == path) Q_EMIT dataChanged(index(row), index(row));
}
