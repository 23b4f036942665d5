#include "analysis/storage_children_model.h"

#include "analysis/storage_row_delegate.h"

StorageChildrenModel::StorageChildrenModel(int pageSize, QObject* parent)
    : PagedListModel(pageSize, parent)
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
    fitPagesToTotal();
    endResetModel();
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
