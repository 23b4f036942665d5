#pragma once

#include "file_entry.h"
#include "workspace/folder_history.h"
#include "workspace/folder_watch.h"
#include "workspace/task_slot.h"

#include <QDateTime>
#include <QList>
#include <QObject>
#include <QString>
#include <functional>
#include <optional>

class FileService;

// How a section gets to the folder it lists: the listing task, the places for
// Back and Forward, and the watch that keeps a shown listing current. It hands
// listings and failures out by value; its owner decides what they change.
class FolderNavigation : public QObject {
    Q_OBJECT
public:
    explicit FolderNavigation(FileService& service, QObject* parent = nullptr);

    // The user left `from` for a new place: a visit, unless walking the history.
    void leave(const QString& from);
    // Lists `folder` anew; listed() or listingFailed() tells the outcome.
    // `inParts`: listed() brings the start of the order as soon as it is
    // known, listingGrew() the rest in order; otherwise listed() brings all.
    // listingFinished() follows the last part.
    void list(const QString& folder, bool inParts = false);
    // Lists the shown `folder` again; relisted() or relistFailed() tells the
    // outcome, or, when the folder went away, the nearest one left is shown.
    void relist(const QString& folder, const QString& reveal);
    void cancel() { loadTask_.cancel(); }
    // Whether a listing (or a relisting) of the folder is still being read.
    bool isListing() const { return loadTask_.isRunning(); }

    // The shown list is the listing of its folder, which watch() keeps current.
    void showListing() { listingShown_ = true; }
    bool showsListing() const { return listingShown_; }
    // A change since the last listing started that came before the watch was set is told too.
    void watch(const QString& folder) { watch_.watch(folder, listingStarted_); }
    // The shown list is no folder's listing any more (a scan, the index).
    void stopFollowing();

    // Shows where Back or Forward leads from `current`, if anywhere.
    void goBack(const QString& current) { walk(history_.back(current)); }
    void goForward(const QString& current) { walk(history_.forward(current)); }
    bool canGoBack() const { return history_.canGoBack(); }
    bool canGoForward() const { return history_.canGoForward(); }
    std::optional<QString> backPlace() const { return history_.previous(); }

Q_SIGNALS:
    void listed(QList<FileEntry> files);
    void listingGrew(QList<FileEntry> more);
    void listingFinished();
    void listingFailed(QString message);
    void relisted(QList<FileEntry> files, QString reveal);
    void relistFailed(QString message);
    // A place to show that is no new visit: a folder, or empty for the whole computer.
    void showRequested(QString place);
    void changedOnDisk();
    void historyChanged();

private:
    void walk(const std::optional<QString>& to);
    // Runs `done` with the listing of `folder` or `failed` with why there is
    // none, unless another listing started or cancel() came first.
    void load(const QString& folder, std::function<void(QList<FileEntry>)> done,
              std::function<void(const QString&)> failed);
    // The same, handing each part of the listing to `part` as it comes, then
    // calling `done` after the last.
    void loadInParts(const QString& folder, std::function<void(QList<FileEntry>, bool first)> part,
                     std::function<void()> done, std::function<void(const QString&)> failed);

    FileService& service_;
    FolderHistory history_;
    bool walkingHistory_ = false;
    TaskSlot loadTask_;
    bool listingShown_ = false;
    FolderWatch watch_;
    QDateTime listingStarted_;
};
