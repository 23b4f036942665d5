#pragma once

#include "file_entry.h"

#include <QCollator>
#include <array>
#include <string>
#include <vector>

// The order people expect for names: case-insensitive, runs of digits by
// value ("a2" before "a10"), following the current locale. Not thread-safe:
// make one per thread or per job.
class NaturalOrder {
public:
    NaturalOrder();

    int compare(QStringView a, QStringView b) const;
    bool operator()(const QString& a, const QString& b) const { return compare(a, b) < 0; }
    // For sorting many names: keys compare far faster than the collator does.
    QCollatorSortKey sortKey(const QString& name) const { return collator_.sortKey(name); }

    // Stable sort, folders first, then by name. Equal names keep their order.
    void sortFoldersFirst(QList<FileEntry>& entries) const;
    // Which of `names` compare without the collator: worked out once, it serves
    // both calls below for the same names.
    std::vector<bool> plainNames(const QList<QString>& names) const;
    // The same order as positions into `names`; `isFolder[i]` tells about `names[i]`.
    std::vector<qsizetype> orderFoldersFirst(const QList<QString>& names,
                                             const std::vector<bool>& isFolder) const;
    std::vector<qsizetype> orderFoldersFirst(const QList<QString>& names,
                                             const std::vector<bool>& isFolder,
                                             const std::vector<bool>& plain) const;
    // The first `count` of that order, found in one pass over the names; none
    // when names the collator must see are too many for that to be quick.
    std::vector<qsizetype> firstFoldersFirst(const QList<QString>& names,
                                             const std::vector<bool>& isFolder,
                                             qsizetype count) const;
    std::vector<qsizetype> firstFoldersFirst(const QList<QString>& names,
                                             const std::vector<bool>& isFolder,
                                             const std::vector<bool>& plain, qsizetype count) const;

private:
    // One weight per printable ASCII character, taken from the collator, so
    // that plain names compare without it; 0 marks a character it must see.
    struct AsciiWeights {
        std::array<quint8, 128> weight{};
        quint8 digit = 0;
        bool usable = false;
    };
    static AsciiWeights asciiWeights(const QCollator& collator);
    bool isPlain(QStringView name) const;
    int comparePlain(QStringView a, QStringView b) const;
    // Bytes that compare as comparePlain() does.
    std::string plainKey(QStringView name) const;

    QCollator collator_;
    AsciiWeights ascii_;
};
