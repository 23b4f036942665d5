#include "duplicate_guard.h"

#include <algorithm>

QList<FileEntry> DuplicateGuard::lastCopies(const QSet<QString>& selection,
                                            const QList<QList<FileEntry>>& groups)
{
    QList<FileEntry> last;
    if (selection.isEmpty()) return last;
    for (const QList<FileEntry>& group : groups) {
        if (group.isEmpty()) continue;
        const bool all = std::all_of(group.begin(), group.end(), [&](const FileEntry& file) {
            return selection.contains(file.path);
        });
        if (all) last << group.last();
    }
    return last;
}

QString DuplicateGuard::warning(const QList<FileEntry>& copies)
{
    if (copies.isEmpty()) return {};
    QStringList names;
    for (const FileEntry& file : copies)
        names << QStringLiteral("“%1”").arg(file.name);
    if (copies.size() == 1)
        return QStringLiteral("%1 is the last copy of its duplicate group. Moving every copy to "
                              "the Trash leaves none of these contents in place.")
            .arg(names.first());
    return QStringLiteral("%1 are the last copies of their duplicate groups. Moving every copy "
                          "to the Trash leaves none of these contents in place.")
        .arg(names.join(QStringLiteral(", ")));
}
