#pragma once

#include "unique_fd.h"

#include <QByteArray>

// The hidden item a copy is built under. The running copy holds a lock on it,
// so a copy that was killed (its lock gone with its process) can be told from
// one that still runs, and its leftover removed by whoever comes next.
class TransferTemporaryItem {
public:
    static constexpr char kPrefix[] = ".quorvane-copy-";

    // A fresh name in `folder` (native path); nothing is created yet.
    explicit TransferTemporaryItem(QByteArray folder);
    // Removes the item unless it was kept; the lock goes with it.
    ~TransferTemporaryItem();
    TransferTemporaryItem(const TransferTemporaryItem&) = delete;
    TransferTemporaryItem& operator=(const TransferTemporaryItem&) = delete;

    const QByteArray& path() const { return path_; }

    // Called right after the item itself was made. False when a cleaner got
    // to it first: the caller picks a new name with `renew` and makes it again.
    bool lock();
    void renew();

    // The item now has its final name: nothing to remove.
    void keep();

    // Removes the temporary items in `folder` that no running copy holds.
    // Items that can't hold a lock (a link or a pipe copied on its own) are
    // made in an instant, so those go once they are a minute old.
    static void removeStale(const QByteArray& folder);

private:
    QByteArray folder_;
    QByteArray path_;
    UniqueFd lock_;
};

// Removes a tree without following links, opening up folders the copy made
// read-only so their contents can go too.
void removeTreeAt(int parent, const char* name);
