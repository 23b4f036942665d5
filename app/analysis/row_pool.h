#pragma once

#include <QBoxLayout>
#include <QList>
#include <QWidget>
#include <algorithm>
#include <functional>
#include <vector>

// The rows of one paged list. Rows are made once and then reused, so a new
// page or a drill-down step only refills the rows it shows.
template <typename Row> class RowPool {
public:
    RowPool(QBoxLayout* layout, std::function<Row*()> make) : layout_(layout), make_(make) {}

    // The row at `index`, made (hidden) when the pool has fewer.
    Row* at(int index)
    {
        while (int(rows_.size()) <= index) {
            Row* row = make_();
            row->hide();
            layout_->addWidget(row);
            rows_.push_back(row);
        }
        return rows_[size_t(index)];
    }

    // Fills the first min(`count`, `limit`) rows through `set(row, index)` and
    // hides the rest; returns how many are shown.
    template <typename Set> int fill(int count, int limit, Set set)
    {
        const int showing = std::min(count, limit);
        for (int index = 0; index < showing; ++index)
            set(at(index), index);
        showFirst(showing);
        return showing;
    }

    // The rows shown, in order.
    QList<Row*> shownRows() const
    {
        const auto end = rows_.begin() + std::min<qsizetype>(shown_, qsizetype(rows_.size()));
        return QList<Row*>(rows_.begin(), end);
    }

    // Shows the first `count` rows and hides the rest.
    void showFirst(int count)
    {
        for (int index = 0; index < int(rows_.size()); ++index)
            rows_[size_t(index)]->setVisible(index < count);
        shown_ = count;
    }

    int shown() const { return shown_; }

private:
    QBoxLayout* layout_;
    std::function<Row*()> make_;
    std::vector<Row*> rows_;
    int shown_ = 0;
};
