#include "duplicate_guard.h"

#include <QCoreApplication>
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
        names << QCoreApplication::translate("DuplicateGuard", "\u201C%1\u201D").arg(file.name);
    if (copies.size() == 1)
        return QCoreApplication::translate(
                   "DuplicateGuard", "%1 is the last copy of its duplicate group. Moving every "
                                     "copy to the Trash leaves none of these contents in place.")
            .arg(names.first());
    return QCoreApplication::translate(
               "DuplicateGuard",
               "%1 are the last copies of their duplicate groups. Moving "
               "every copy to the Trash leaves none of these contents in place.",
               nullptr, int(copies.size()))
        .arg(names.join(QCoreApplication::translate("DuplicateGuard", ", ")));
}
