#pragma once

#include "storage_node.h"
#include "ui/paged_list_model.h"

#include <memory>

// The children of one storage node, largest first, a page at a time. Its rows
// drill: pressing a folder's row shows that folder's children.
class StorageChildrenModel : public PagedListModel {
    Q_OBJECT
public:
    explicit StorageChildrenModel(int pageSize, QObject* parent = nullptr);

    // `tree` keeps `shown` (a node inside it, or null) alive. Showing the same
    // node of the same tree changes nothing; otherwise as many pages as before.
    void setNode(std::shared_ptr<const StorageNode> tree, const StorageNode* shown);
    const StorageNode* shown() const { return shown_; }
    int total() const override;
    const StorageNode* node(const QModelIndex& index) const;

    QVariant data(const QModelIndex& index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    std::shared_ptr<const StorageNode> tree_;
    const StorageNode* shown_ = nullptr;
};
