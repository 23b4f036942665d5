#pragma once

#include <QAbstractListModel>

// A list shown a page at a time. Views fetch by themselves whenever the last
// row is in sight, and these lists always show every row: a page is added
// only inside showMore(), which a "Show more" button calls.
class PagedListModel : public QAbstractListModel {
    Q_OBJECT
public:
    // Everything there is to show, of which rowCount() rows are shown.
    virtual int total() const = 0;
    int pageSize() const { return pageSize_; }
    // How many rows the pages opened so far allow.
    int limit() const { return limit_; }
    void showMore();
    // Back to the first page.
    void resetPages();

    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;
    int rowCount(const QModelIndex& parent = {}) const override;

protected:
    // `pageSize`: the rows shown at first and added by each showMore().
    PagedListModel(int pageSize, QObject* parent);
    // Between beginResetModel() and endResetModel(): as many pages as before of the new list.
    void fitPagesToTotal();

private:
    int pageSize_;
    int limit_;
    int shown_ = 0;
    bool showingMore_ = false;
};
