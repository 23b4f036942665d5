#pragma once

#include "cancellation.h"

#include <QByteArray>
#include <QSet>
#include <sys/stat.h>
#include <utility>
#include <vector>

// The direct children of one open folder, read with one readdir pass and one
// stat per child relative to the folder's descriptor. The names alone come
// first when a caller wants to order them before paying for the stats.
class DirectoryReader {
public:
    struct Child {
        QByteArray name;
        struct stat st;
        bool statFailed = false;
        // The kind readdir told (DT_DIR, DT_LNK, DT_UNKNOWN...), before any stat.
        unsigned char type = 0;
        bool hasStat = false;
    };

    // The children as readdir tells them, before any stat: the names packed
    // in one buffer, each ended by a NUL.
    class Names {
    public:
        qsizetype size() const { return qsizetype(types_.size()); }
        QByteArrayView name(qsizetype i) const
        {
            return QByteArrayView(bytes_.constData() + starts_[i], starts_[i + 1] - starts_[i] - 1);
        }
        // The kind readdir told (DT_DIR, DT_LNK, DT_UNKNOWN...).
        unsigned char type(qsizetype i) const { return types_[i]; }
        void add(const char* name, unsigned char type);
        // Empties the list; its room stays for the next folder.
        void clear();
        // Gives back the room when it has grown past what most folders need.
        void trim();

    private:
        QByteArray bytes_;
        std::vector<qsizetype> starts_{0};
        std::vector<unsigned char> types_;
    };

    enum class Links { Follow, DontFollow };

    // Takes ownership of `dirfd`. `includeHidden` false drops dot-names and
    // the names listed in the folder's ".hidden" file.
    DirectoryReader(int dirfd, bool includeHidden, Links links);
    ~DirectoryReader();
    DirectoryReader(const DirectoryReader&) = delete;
    DirectoryReader& operator=(const DirectoryReader&) = delete;

    // Reads all children; returns false with errno set when the folder can't be read.
    // Throws Cancelled when `isCancelled` says so (asked every few thousand names).
    bool read(std::vector<Child>& children, const CancelCheck& isCancelled = {});
    // The same without the stats: names and their readdir kinds only.
    bool readNames(Names& children, const CancelCheck& isCancelled = {});
    // Fills in the stats of `children` not yet looked at (from both cores for many).
    void stat(Child* children, std::size_t count, const CancelCheck& isCancelled = {}) const;
    void stat(Child& child) const;
    // Whether a child readdir calls a folder is looked at all the same, or taken
    // at its word: its stat then tells only the kind (st_mode S_IFDIR, the rest 0).
    enum class Folders { Stat, ByKind };
    // The stats of all `names` into `stats` (one per name, from both cores for
    // many); a name that can't be looked at gets st_mode 0, which no real item has.
    void stat(const Names& names, struct stat* stats, Folders folders,
              const CancelCheck& isCancelled = {}) const;
    // One child by name; false when it can't be looked at.
    bool statName(const char* name, struct stat& st) const;

    static int openFolder(const char* path, bool followLink);
    // Hands the folder's descriptor to the caller, who closes it.
    int releaseDescriptor() { return std::exchange(fd_, -1); }

private:
    QSet<QByteArray> hiddenNames() const;
    void statChildren(Child* children, std::size_t count, const CancelCheck& isCancelled) const;

    int fd_;
    bool includeHidden_;
    Links links_;
};
