#pragma once

#include <QSortFilterProxyModel>

// The commands that match the typed query, best first. A command's score is
// its match with the query; commands of equal score keep their source order.
class CommandMatchModel : public QSortFilterProxyModel {
    Q_OBJECT
public:
    enum Role { ScoreRole = Qt::UserRole + 100 };

    explicit CommandMatchModel(QObject* parent = nullptr);

    // 0 when `candidate` does not match `query`. Every match scores the same:
    // the palette lists matching sections in sidebar order.
    static int score(const QString& query, const QString& candidate);

    QString query() const { return query_; }
    void setQuery(const QString& query);

    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QHash<int, QByteArray> roleNames() const override;

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;
    bool lessThan(const QModelIndex& left, const QModelIndex& right) const override;

private:
    int sourceScore(const QModelIndex& source) const;

    QString query_;
};
