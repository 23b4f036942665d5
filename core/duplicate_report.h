#pragma once

#include "file_entry.h"

#include <QHash>

// Groups of two or more files with identical contents, and how many candidates
// could not be read.
struct DuplicateReport {
    QList<QList<FileEntry>> groups;
    int skipped = 0;
    // A group member that is a hard link of an earlier member of its group,
    // by path, to that earlier member's path: the same file under two names,
    // so trashing one gains nothing.
    QHash<QString, QString> sameFileAs;

    // Distinct files in `group` beyond the first: a hard link of an earlier
    // member (per `sameFileAs`) shares its data, so it is no extra copy.
    static qsizetype extraCopies(const QList<FileEntry>& group,
                                 const QHash<QString, QString>& sameFileAs);
    qsizetype extraCopies(const QList<FileEntry>& group) const;

    // Bytes that trashing all but one copy of `group` would free: one size
    // per extra copy.
    qint64 wasted(const QList<FileEntry>& group) const;
    // The same over every group.
    qint64 wasted() const;

    friend bool operator==(const DuplicateReport&, const DuplicateReport&) = default;
};
