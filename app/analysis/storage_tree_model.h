#pragma once

#include "storage_node.h"

#include <QAbstractItemModel>
#include <QHash>

// The children of one storage node as an outline; folders expand into their
// own children. Parents are remembered as rows are first asked for, since
// nodes do not point up.
class StorageTreeModel : public QAbstractItemModel {
    Q_OBJECT
public:
    using QAbstractItemModel::QAbstractItemModel;
    // `tree` keeps `shown` (a node inside it) alive.
    void setNode(std::shared_ptr<const StorageNode> tree, const StorageNode* shown);
    const StorageNode* node(const QModelIndex& index) const;
    // The node whose children are the top rows.
    const StorageNode* shown() const { return shown_; }

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

private:
    const StorageNode* nodeOrShown(const QModelIndex& index) const;

    std::shared_ptr<const StorageNode> tree_;
    const StorageNode* shown_ = nullptr;
    mutable QHash<const StorageNode*, std::pair<const StorageNode*, int>> parents_;
};
