#pragma once

#include "storage_node.h"

#include <QAbstractListModel>
#include <memory>

// The children of one storage node, largest first, a page at a time. Its rows
// drill: pressing a folder's row shows that folder's children.
class StorageChildrenModel : public QAbstractListModel {
    Q_OBJECT
public:
    // `pageSize`: the rows shown at first and added by each showMore().
    explicit StorageChildrenModel(int pageSize, QObject* parent = nullptr);

    // `tree` keeps `shown` (a node inside it, or null) alive. Showing the same
    // node of the same tree changes nothing; otherwise as many pages as before.
    void setNode(std::shared_ptr<const StorageNode> tree, const StorageNode* shown);
    const StorageNode* shown() const { return shown_; }
    // Back to the first page.
    void resetPages();
    int limit() const { return limit_; }
    int total() const;
    const StorageNode* node(const QModelIndex& index) const;

    // Views fetch by themselves whenever the last row is in sight, and this
    // list always shows every row: a page is added only inside showMore(),
    // which the "Show more" button calls.
    void showMore();
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    std::shared_ptr<const StorageNode> tree_;
    const StorageNode* shown_ = nullptr;
    int pageSize_;
    int limit_;
    int rows_ = 0;
    bool showingMore_ = false;
};
