#pragma once

#include "cancellation.h"
#include "file_entry.h"
#include "folded_names.h"

#include <QSet>
#include <QStringList>
#include <optional>

// What a library section can show before its search and media filter: the
// entries that pass the section's fixed tests, the formats they carry and
// their names folded for searching. Made once per list of files and kept
// while only the search or the filter change, so typing costs one scan.
class LibraryCandidates {
public:
    // The inputs the candidates depend on.
    struct Scope {
        QList<FileEntry> files;
        std::optional<MediaKind> kind;
        bool screenshotsOnly = false;
        QSet<QString> screenshots; // paths the file index marked as screenshots
        bool filesOnly = true;
        qint64 minimumSize = 0;

        // The same list (shared, not merely equal) under the same tests.
        bool sameAs(const Scope& other) const;
    };

    // Throws Cancelled when `isCancelled` says so at every 256th entry.
    explicit LibraryCandidates(Scope scope, const CancelCheck& isCancelled = {});

    const Scope& scope() const { return scope_; }
    qsizetype size() const { return names_.size(); }
    // The heap bytes held beyond the files themselves.
    qsizetype bytes() const;

    // The candidates whose names hold `query` (every one for an empty query),
    // in list order. Throws Cancelled at every 256th match.
    QList<FileEntry> matching(const QString& query, const CancelCheck& isCancelled = {}) const;
    // "All formats", then the formats seen and `current` in code-point order.
    QStringList formats(const QString& current) const;

private:
    Scope scope_;
    FoldedNames names_; // owned by positions in scope_.files
    QSet<QString> formats_;
};
