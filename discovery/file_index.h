#pragma once

#include "media_kind.h"

#include <QDateTime>
#include <QFuture>
#include <QList>
#include <QString>
#include <functional>
#include <optional>

// One result of the file index, as the index reported it.
struct IndexedItem {
    QString path;
    qint64 size = 0; // negative when the index says so
    std::optional<QDateTime> modified;
    bool isDirectory = false;
    bool isScreenCapture = false; // the index's own flag, where it has one
};

// One page of results; the pages of one read follow each other in order.
struct IndexResults {
    QList<IndexedItem> items; // newest content change first
    bool gathering = false;   // the index is still crawling or extracting
};

// A live query of the desktop's file index for one kind of file.
class FileIndex {
public:
    virtual ~FileIndex() = default;

    // Starts watching the index for `kind`; `changed` is then called on the
    // GUI thread after every batch of changes. False when the index cannot be
    // reached.
    virtual bool start(MediaKind kind, std::function<void()> changed) = 0;
    virtual void stop() = 0;
    // The current results of the started query, read off the GUI thread and
    // reported page by page while they are read; a small first page comes at
    // once. `gathering` of the last page counts. Fails (an exception in the
    // future) when the index went away; cancelling the future ends the read.
    virtual QFuture<IndexResults> results() = 0;
};
