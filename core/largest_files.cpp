#include "largest_files.h"

#include "code_point_order.h"
#include "tree_walker.h"

#include <QSet>
#include <algorithm>
#include <vector>

namespace {

// True when `a` ranks before `b` in the result.
bool ranksBefore(const FileEntry& a, const FileEntry& b)
{
    if (a.size != b.size) return a.size > b.size;
    return codePointLess(a.path, b.path);
}

bool beats(qint64 size, const QString& path, const FileEntry& b)
{
    if (size != b.size) return size > b.size;
    return codePointLess(path, b.path);
}

} // namespace

QList<FileEntry> LargestFiles::find(const QStringList& folders, qsizetype limit,
                                    const CancelCheck& isCancelled)
{
    // A heap whose top is the weakest leader, the one the next contender must beat.
    std::vector<FileEntry> leaders;
    QSet<QString> held;
    if (limit <= 0) return {};
    for (const QString& folder : folders) {
        TreeWalker::walk(
            folder, false,
            [&](const TreeWalker::Item& item) {
                if (!item.st || !S_ISREG(item.st->st_mode)) return;
                const qint64 size = std::max<qint64>(0, item.st->st_size);
                const bool full = qsizetype(leaders.size()) >= limit;
                if (full && !beats(size, item.path, leaders.front())) return;
                if (held.contains(item.path)) return;
                if (full) {
                    std::pop_heap(leaders.begin(), leaders.end(), ranksBefore);
                    held.remove(leaders.back().path);
                    leaders.pop_back();
                }
                leaders.push_back(FileEntry::fromStat(item.path, item.name, *item.st));
                held.insert(item.path);
                std::push_heap(leaders.begin(), leaders.end(), ranksBefore);
            },
            isCancelled);
    }
    std::sort_heap(leaders.begin(), leaders.end(), ranksBefore);
    return QList<FileEntry>(leaders.begin(), leaders.end());
}
