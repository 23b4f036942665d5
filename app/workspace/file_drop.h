#pragma once

#include "transfer_item.h"

#include <QList>
#include <QStringList>
#include <QUrl>
#include <Qt>
#include <optional>

class QMimeData;

// Files dropped on a folder, from Quorvane's own drag or from another
// application, and what the drop does with them.
class FileDrop {
public:
    // Nothing when `data` carries no URLs.
    static std::optional<FileDrop> from(const QMimeData* data);
    explicit FileDrop(QList<QUrl> urls, bool markedCut = false);

    const QList<QUrl>& urls() const { return urls_; }
    // The paths of the URLs that name absolute files of this computer.
    QStringList localPaths() const;
    // The URLs that don't, shown the way the user would read them.
    QStringList foreignUrls() const;

    // Shift moves and Ctrl copies, as the desktop has it. Otherwise items
    // another file manager marked as cut move, and the rest move when they
    // are on the file system of `folder` and are copied when they are not.
    TransferKind kindInto(const QString& folder, Qt::KeyboardModifiers held) const;
    // Whether dropping on `folder` does anything: not when it is one of the
    // items, nor when every item is in it already.
    bool fitsInto(const QString& folder) const;

private:
    QList<QUrl> urls_;
    bool markedCut_;
};
