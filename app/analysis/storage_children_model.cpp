#include "analysis/storage_children_model.h"

#include "analysis/storage_row_delegate.h"

#include <limits>

StorageChildrenModel::StorageChildrenModel(int pageSize, QObject* parent)
    : QAbstractListModel(parent), pageSize_(pageSize), limit_(pageSize)
{
}

void StorageChildrenModel::setNode(std::shared_ptr<const StorageNode> tree,
                                   const StorageNode* shown)
{
    if (!tree) shown = nullptr;
    if (tree == tree_ && shown == shown_) return;
    beginResetModel();
    tree_ = std::move(tree);
    shown_ = shown;
    rows_ = std::min(limit_, total());
    endResetModel();
}

void StorageChildrenModel::resetPages()
{
    limit_ = pageSize_;
    const int rows = std::min(limit_, total());
    if (rows >= rows_) return;
    beginRemoveRows({}, rows, rows_ - 1);
    rows_ = rows;
    endRemoveRows();
}

int StorageChildrenModel::total() const
{
    return shown_ && shown_->children() ? int(shown_->children()->size()) : 0;
}

const StorageNode* StorageChildrenModel::node(const QModelIndex& index) const
{
    if (!index.isValid() ||
        !checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return nullptr;
    return (*shown_->children())[size_t(index.row())].get();
}

void StorageChildrenModel::showMore()
{
    showingMore_ = true;
    fetchMore({});
    showingMore_ = false;
}

bool StorageChildrenModel::canFetchMore(const QModelIndex& parent) const
{
    return !parent.isValid() && rows_ < total();
}

void StorageChildrenModel::fetchMore(const QModelIndex& parent)
{
    if (!showingMore_ || !canFetchMore(parent)) return;
    // Whoever hears of the new rows may ask for more: one page per request.
    showingMore_ = false;
    limit_ = pageSize_ > std::numeric_limits<int>::max() - rows_ ? std::numeric_limits<int>::max()
                                                                 : rows_ + pageSize_;
    const int rows = std::min(limit_, total());
    beginInsertRows({}, rows_, rows - 1);
    rows_ = rows;
    endInsertRows();
}

int StorageChildrenModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : rows_;
}

QVariant StorageChildrenModel::data(const QModelIndex& index, int role) const
{
    const StorageNode* node = this->node(index);
    if (node && role == StorageRowDelegate::DrillsRole) return true;
    return StorageRowDelegate::nodeData(node, role);
}

Qt::ItemFlags StorageChildrenModel::flags(const QModelIndex& index) const
{
    if (!index.isValid()) return Qt::NoItemFlags;
    return Qt::ItemIsEnabled;
}
