#include "analysis/storage_tree_model.h"

#include "analysis/storage_row_delegate.h"

void StorageTreeModel::setNode(std::shared_ptr<const StorageNode> tree, const StorageNode* shown)
{
    beginResetModel();
    tree_ = std::move(tree);
    shown_ = tree_ ? shown : nullptr;
    parents_.clear();
    endResetModel();
}

const StorageNode* StorageTreeModel::node(const QModelIndex& index) const
{
    return index.isValid() ? static_cast<const StorageNode*>(index.internalPointer()) : nullptr;
}

const StorageNode* StorageTreeModel::nodeOrShown(const QModelIndex& index) const
{
    return index.isValid() ? node(index) : shown_;
}

QModelIndex StorageTreeModel::index(int row, int column, const QModelIndex& parent) const
{
    const StorageNode* owner = nodeOrShown(parent);
    if (!owner || column != 0 || !owner->children() || row < 0 ||
        size_t(row) >= owner->children()->size())
        return {};
    const StorageNode* child = (*owner->children())[size_t(row)].get();
    parents_.insert(child, {parent.isValid() ? owner : nullptr, parent.row()});
    return createIndex(row, 0, child);
}

QModelIndex StorageTreeModel::parent(const QModelIndex& child) const
{
    const StorageNode* node = this->node(child);
    const auto found = parents_.constFind(node);
    if (!node || found == parents_.constEnd() || !found->first) return {};
    return createIndex(found->second, 0, found->first);
}

int StorageTreeModel::rowCount(const QModelIndex& parent) const
{
    const StorageNode* owner = nodeOrShown(parent);
    if (!owner || parent.column() > 0 || !owner->children()) return 0;
    return int(owner->children()->size());
}

int StorageTreeModel::columnCount(const QModelIndex&) const
{
    return 1;
}

QVariant StorageTreeModel::data(const QModelIndex& index, int role) const
{
    return StorageRowDelegate::nodeData(this->node(index), role);
}
