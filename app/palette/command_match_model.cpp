#include "palette/command_match_model.h"

#include <QTextBoundaryFinder>

namespace {

QStringList graphemes(const QString& text)
{
    QStringList out;
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    qsizetype start = 0;
    while (finder.toNextBoundary() != -1) {
        out << text.mid(start, finder.position() - start);
        start = finder.position();
    }
    return out;
}

} // namespace

CommandMatchModel::CommandMatchModel(QObject* parent) : QSortFilterProxyModel(parent)
{
    sort(0);
}

int CommandMatchModel::score(const QString& query, const QString& candidate)
{
    const QStringList wanted = graphemes(query.toLower());
    if (wanted.isEmpty()) return 1;
    qsizetype next = 0;
    for (const QString& character : graphemes(candidate.toLower())) {
        if (character == wanted[next] && ++next == wanted.size()) return 1;
    }
    return 0;
}

void CommandMatchModel::setQuery(const QString& query)
{
    if (query_ == query) return;
    query_ = query;
    invalidate();
}

QVariant CommandMatchModel::data(const QModelIndex& index, int role) const
{
    if (role == ScoreRole) {
        if (!checkIndex(index, CheckIndexOption::IndexIsValid)) return {};
        return sourceScore(mapToSource(index));
    }
    return QSortFilterProxyModel::data(index, role);
}

QHash<int, QByteArray> CommandMatchModel::roleNames() const
{
    QHash<int, QByteArray> names = QSortFilterProxyModel::roleNames();
    names.insert(ScoreRole, "score");
    return names;
}

bool CommandMatchModel::filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const
{
    return sourceScore(sourceModel()->index(sourceRow, 0, sourceParent)) > 0;
}

bool CommandMatchModel::lessThan(const QModelIndex& left, const QModelIndex& right) const
{
    const int leftScore = sourceScore(left);
    const int rightScore = sourceScore(right);
    if (leftScore != rightScore) return leftScore > rightScore;
    return left.row() < right.row();
}

int CommandMatchModel::sourceScore(const QModelIndex& source) const
{
    return score(query_, source.data(Qt::DisplayRole).toString());
}
