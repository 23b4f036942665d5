#include "ui/paged_list_model.h"

#include <algorithm>
#include <limits>

PagedListModel::PagedListModel(int pageSize, QObject* parent)
    : QAbstractListModel(parent), pageSize_(pageSize), limit_(pageSize)
{
}

void PagedListModel::fitPagesToTotal()
{
    shown_ = std::min(limit_, total());
}

void PagedListModel::resetPages()
{
    limit_ = pageSize_;
    const int shown = std::min(limit_, total());
    if (shown >= shown_) return;
    beginRemoveRows({}, shown, shown_ - 1);
    shown_ = shown;
    endRemoveRows();
}

void PagedListModel::showMore()
{
    showingMore_ = true;
    fetchMore({});
    showingMore_ = false;
}

bool PagedListModel::canFetchMore(const QModelIndex& parent) const
{
    return !parent.isValid() && shown_ < total();
}

void PagedListModel::fetchMore(const QModelIndex& parent)
{
    if (!showingMore_ || !canFetchMore(parent)) return;
    // Whoever hears of the new rows may ask for more: one page per request.
    showingMore_ = false;
    limit_ = pageSize_ > std::numeric_limits<int>::max() - shown_ ? std::numeric_limits<int>::max()
                                                                  : shown_ + pageSize_;
    const int shown = std::min(limit_, total());
    beginInsertRows({}, shown_, shown - 1);
    shown_ = shown;
    endInsertRows();
}

int PagedListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : shown_;
}
