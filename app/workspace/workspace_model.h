#pragma once

#include "file_service.h"
#include "library_discovering.h"
#include "media_metadata_reader.h"
#include "sections/browser_mode.h"
#include "sections/feature.h"
#include "sections/library_scope.h"
#include "transfer_item.h"
#include "transfer_store.h"
#include "undo_journal.h"
#include "workspace/filter_schedule.h"
#include "workspace/folder_navigation.h"
#include "workspace/index_discovery.h"
#include "workspace/metadata_batch_reader.h"
#include "workspace/scan_pipeline.h"
#include "workspace/section_list.h"
#include "workspace/section_switch.h"
#include "workspace/timeline_group.h"
#include "workspace/visible_entries.h"
#include "workspace/workspace_actions.h"
#include "workspace/workspace_platform.h"

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <functional>
#include <memory>
#include <optional>
#include <type_traits>

// The state of one sidebar section and the owner of the work that fills it:
// index discovery, folder listing, scans, duplicate search, the storage
// summary, filtering passes and media property reads. Lives on the GUI thread.
class FileDrop;

class WorkspaceModel : public QObject {
    Q_OBJECT
public:
    static constexpr qint64 defaultMinimumFileSize = 100000000;

    // Without a provider the model uses the desktop's file index; without a
    // store it makes a queue of its own.
    WorkspaceModel(std::unique_ptr<LibraryDiscovering> libraryDiscovery, Feature initialFeature,
                   TransferStore* transferStore, QObject* parent = nullptr);
    ~WorkspaceModel() override;

    // State, each with a change signal below.
    Feature feature() const { return feature_; }
    const QString& folder() const { return folder_.value; }
    const QList<FileEntry>& files() const { return list_.files; }
    const QSet<QString>& selection() const { return list_.selection; }
    const QString& query() const { return list_.query; }
    BrowserMode mode() const { return mode_.value; }
    bool busy() const { return busy_; }
    // Whether the shown folder is still being read; its files come after.
    bool isListing() const { return folders_.isListing(); }
    const QString& operation() const { return operation_; }
    qint64 minimumFileSize() const { return minimumFileSize_.value; }
    int timelineDays() const { return timelineDays_.value; }
    const QList<TimelineGroup>& timelineGroups() const { return timelineGroups_.value; }
    const std::optional<QString>& error() const { return error_.value; }
    bool palette() const { return palette_.value; }
    bool newFolder() const { return newFolder_.value; }
    bool confirmTrash() const { return confirmTrash_.value; }
    const std::optional<FileEntry>& renameTarget() const { return renameTarget_.value; }
    const std::optional<StorageReport>& report() const { return report_.value; }
    const QList<QList<FileEntry>>& duplicateGroups() const { return duplicateGroups_; }
    // Members of duplicateGroups() that are hard links of an earlier member, by
    // path, to that member's path.
    const QHash<QString, QString>& sameFileAs() const { return sameFileAs_; }
    const QList<TransferItem>& transfers() const { return transfers_.value; }
    TransferStore& transferStore() const { return *transferStore_; }
    // The file actions to undo, shared with every section on the same queue.
    UndoJournal& undoJournal() const { return *undoJournal_; }
    bool sortByDate() const { return list_.sortByDate; }
    bool details() const { return details_.value; }
    const std::optional<QString>& ocrText() const { return ocrText_.value; }
    bool ocrBusy() const { return ocrBusy_.value; }
    // How far a long text extraction is ("Reading text… page 2 of 9"); empty otherwise.
    const QString& ocrProgress() const { return ocrProgress_.value; }
    const std::optional<FileEntry>& previewFile() const { return previewFile_.value; }
    const MediaFilter& mediaFilter() const { return mediaFilter_.value; }
    const QHash<QString, MediaMetadata>& mediaMetadata() const { return mediaMetadata_.value; }
    bool readingMetadata() const { return readingMetadata_.value; }
    LibraryScope libraryScope() const { return libraryScope_.value; }
    const std::optional<QString>& libraryMessage() const { return libraryMessage_.value; }
    const QSet<QString>& discoveredScreenshots() const { return discoveredScreenshots_; }
    const LibraryResult& libraryResult() const { return libraryResult_.value; }
    bool isFiltering() const { return isFiltering_.value; }
    const std::shared_ptr<const StorageNode>& storageTree() const { return storageTree_.value; }
    FileService& service() { return service_; }

    bool isMacScope() const { return libraryScope_.value == LibraryScope::Mac; }
    // The list the section's file views show.
    QList<FileEntry> visible() const;
    // The same list without copying the entries (views keep this one).
    VisibleEntries visibleEntries() const;
    // Its length, without copying it.
    qsizetype visibleCount() const;
    // The first entry of `files` that is selected.
    std::optional<FileEntry> selected() const { return list_.selected(); }

    void setFiles(QList<FileEntry> files);
    void setSelection(QSet<QString> selection);
    void setQuery(const QString& query);
    void setMode(BrowserMode mode) { assign(mode_, mode); }
    void setMinimumFileSize(qint64 bytes) { refilter(minimumFileSize_, bytes); }
    void setTimelineDays(int days) { refilter(timelineDays_, days); }
    void setError(std::optional<QString> error) { assign(error_, std::move(error)); }
    void setPalette(bool shown) { assign(palette_, shown); }
    void setNewFolder(bool shown) { assign(newFolder_, shown); }
    void setConfirmTrash(bool shown) { assign(confirmTrash_, shown); }
    void setRenameTarget(std::optional<FileEntry> entry)
    {
        assign(renameTarget_, std::move(entry));
    }
    void setSortByDate(bool newestFirst);
    void setDetails(bool shown) { assign(details_, shown); }
    void setOcrText(std::optional<QString> text) { assign(ocrText_, std::move(text)); }
    void setOcrBusy(bool running) { assign(ocrBusy_, running); }
    void setOcrProgress(QString progress) { assign(ocrProgress_, std::move(progress)); }
    void setPreviewFile(std::optional<FileEntry> entry) { assign(previewFile_, std::move(entry)); }
    void setMediaFilter(const MediaFilter& filter) { refilter(mediaFilter_, filter); }
    void setMediaMetadata(QHash<QString, MediaMetadata> metadata)
    {
        refilter(mediaMetadata_, std::move(metadata));
    }

    // Set by the router: section switches then go through it.
    void setOnActivate(std::function<void(Feature)> hook) { onActivate_ = std::move(hook); }
    // Dialogs, clipboard and modifier keys; headless until the window sets them.
    void setPlatform(WorkspacePlatform platform) { platform_ = std::move(platform); }

    void activate(Feature feature);
    void discoverMac() { index_.start(); }
    void navigate(QString folder);
    void refresh();
    void chooseFolder();
    // Back and Forward through the places this section showed (folders, or
    // the whole computer).
    void goBack();
    void goForward();
    bool canGoBack() const { return folders_.canGoBack(); }
    bool canGoForward() const { return folders_.canGoForward(); }
    // Where goBack() leads: a folder, or empty for the whole computer.
    std::optional<QString> backPlace() const { return folders_.backPlace(); }
    void scan();
    void cancelScan();
    void prepareStorage(QList<FileEntry> files, QString root, int inaccessible);
    void scheduleLibraryFiltering(bool debounce);
    void readMetadataIfNeeded();

    // File actions (views and menu commands call these). Entries and paths come
    // in by value: a view hands over rows of lists that these actions' own
    // change signals replace before they are done with them.
    void select(FileEntry entry) { actions_.select(std::move(entry)); }
    void open(FileEntry entry) { actions_.open(std::move(entry)); }
    void preview() { actions_.preview(); }
    void stepPreview(int step) { actions_.stepPreview(step); }
    void selectAll() { actions_.selectAll(); }
    void enclosingFolder() { actions_.enclosingFolder(); }
    void copySelection() { actions_.copySelection(); }
    // Like copy, but the paste moves the items.
    void cutSelection() { actions_.cutSelection(); }
    void paste() { actions_.paste(); }
    // Copies or moves dropped files into `folder`, through the queue as a paste does.
    void drop(const FileDrop& dropped, QString folder, TransferKind kind)
    {
        actions_.drop(dropped, std::move(folder), kind);
    }
    void createFolder(const QString& name) { actions_.createFolder(name); }
    void rename(FileEntry entry, QString name)
    {
        actions_.rename(std::move(entry), std::move(name));
    }
    void trash() { actions_.trash(); }
    void addTransfer() { actions_.addTransfer(); }
    void clearCompletedTransfers() { actions_.clearCompletedTransfers(); }
    void cancelTransfer(QUuid id) { actions_.cancelTransfer(id); }
    void retryTransfer(QUuid id) { actions_.retryTransfer(id); }
    void pauseTransfer(QUuid id, bool paused) { actions_.pauseTransfer(id, paused); }
    void pauseQueue(bool paused) { actions_.pauseQueue(paused); }
    // Where a queued job goes to start one place earlier (step -1) or later
    // (+1) among the queued jobs; nothing at either end of them.
    std::optional<qsizetype> transferPlace(const QUuid& id, int step) const
    {
        return actions_.transferPlace(id, step);
    }
    void moveTransfer(QUuid id, int step) { actions_.moveTransfer(id, step); }
    void extractText() { actions_.extractText(); }
    void cancelTextExtraction() { actions_.cancelTextExtraction(); }
    // Undo or Redo the last file action; a refusal becomes the error.
    void undo() { actions_.undo(); }
    void redo() { actions_.redo(); }

Q_SIGNALS:
    void featureChanged();
    void folderChanged();
    void filesChanged();
    // A listing coming in parts adds `count` files at `from`, the end of
    // files(); filesChanged() follows once the last part is in.
    void filesAboutToGrow(qsizetype from, qsizetype count);
    void filesGrew();
    void selectionChanged();
    void queryChanged();
    void modeChanged();
    void activityChanged(); // busy, operation
    void minimumFileSizeChanged();
    void timelineDaysChanged();
    void timelineGroupsChanged();
    void errorChanged();
    void sheetsChanged(); // palette, newFolder, confirmTrash, renameTarget
    void reportChanged();
    void duplicateGroupsChanged();
    void transfersChanged();
    void sortByDateChanged();
    void detailsChanged();
    void ocrChanged(); // ocrText, ocrBusy, ocrProgress
    void previewFileChanged();
    void mediaFilterChanged();
    void mediaMetadataChanged();
    void readingMetadataChanged();
    void libraryScopeChanged();
    void libraryMessageChanged();
    void libraryResultChanged();
    void isFilteringChanged();
    void storageTreeChanged();
    void historyChanged();

private:
    void appendFiles(const QList<FileEntry>& more);
    // Whether a listing may show its first part before the rest is in: only
    // when the files are shown as they come, not filtered or by date.
    bool listsInParts() const;
    // The actions, the index and section switches work on the model's own
    // state and its dialogs.
    friend class WorkspaceActions;
    friend class IndexDiscovery;
    friend class SectionSwitch;

    // A piece of state with the signal that tells it changed.
    template <typename T> struct Signalled {
        T value;
        void (WorkspaceModel::*changed)();
    };
    // Stores `value` and signals the change when it differs.
    template <typename T> void assign(Signalled<T>& state, std::type_identity_t<T> value)
    {
        if (state.value == value) return;
        state.value = std::move(value);
        Q_EMIT(this->*state.changed)();
    }
    // Stores `value`, signals it and filters the section's files again.
    template <typename T> void refilter(Signalled<T>& state, std::type_identity_t<T> value)
    {
        state.value = std::move(value);
        Q_EMIT(this->*state.changed)();
        scheduleLibraryFiltering(false);
    }
    void setActivity(bool busy, const QString& operation);
    void setLibraryScope(LibraryScope scope) { assign(libraryScope_, scope); }
    void setLibraryMessage(std::optional<QString> message)
    {
        assign(libraryMessage_, std::move(message));
    }
    void setDiscoveredScreenshots(QSet<QString> screenshots);
    void setLibraryResult(LibraryResult result) { assign(libraryResult_, std::move(result)); }
    // A new scan's report counts as a change even when it lists the same
    // files: comparing hundreds of thousands of entries would stall the window.
    void setReport(std::optional<StorageReport> report)
    {
        if (sameReport(report_.value, report)) return;
        report_.value = std::move(report);
        Q_EMIT reportChanged();
    }
    static bool sameReport(const std::optional<StorageReport>& a,
                           const std::optional<StorageReport>& b)
    {
        if (!a || !b) return !a == !b;
        return a->files.constData() == b->files.constData() && a->files.size() == b->files.size() &&
               a->inaccessible == b->inaccessible && a->total == b->total;
    }
    void setDuplicateGroups(QList<QList<FileEntry>> groups,
                            QHash<QString, QString> sameFileAs = {});
    void setStorageTree(std::shared_ptr<const StorageNode> tree)
    {
        assign(storageTree_, std::move(tree));
    }
    void setReadingMetadata(bool reading) { assign(readingMetadata_, reading); }
    void setIsFiltering(bool filtering) { assign(isFiltering_, filtering); }
    void setTimelineGroups(QList<TimelineGroup> groups)
    {
        assign(timelineGroups_, std::move(groups));
    }
    void setFolder(const QString& folder) { assign(folder_, folder); }
    void setTransfers(QList<TransferItem> items) { assign(transfers_, std::move(items)); }

    // Listings, failures and history steps of the folder navigation change
    // the model's state here.
    void applyFolderNavigation();
    void publishScan(const ScanOutcome& outcome);
    // The place shown now, as the history names it.
    QString place() const;
    // Lists folder() again where it is shown: the selection stays (less what
    // vanished), or becomes `reveal` when that is listed. Falls back to
    // navigate() when the shown list is not the folder's listing.
    void reloadFolder(const QString& reveal = {});
    // Whether files() is the listing of folder() that the disk should keep current.
    bool followsDisk() const;
    QString storageRoot() const;

    Feature feature_ = Feature::Explorer;
    SectionList list_;
    Signalled<QString> folder_{{}, &WorkspaceModel::folderChanged};
    Signalled<BrowserMode> mode_{BrowserMode::Grid, &WorkspaceModel::modeChanged};
    bool busy_ = false;
    bool grewSinceListed_ = false;
    QString operation_;
    Signalled<qint64> minimumFileSize_{defaultMinimumFileSize,
                                       &WorkspaceModel::minimumFileSizeChanged};
    Signalled<int> timelineDays_{0, &WorkspaceModel::timelineDaysChanged};
    Signalled<QList<TimelineGroup>> timelineGroups_{{}, &WorkspaceModel::timelineGroupsChanged};
    Signalled<std::optional<QString>> error_{{}, &WorkspaceModel::errorChanged};
    Signalled<bool> palette_{false, &WorkspaceModel::sheetsChanged};
    Signalled<bool> newFolder_{false, &WorkspaceModel::sheetsChanged};
    Signalled<bool> confirmTrash_{false, &WorkspaceModel::sheetsChanged};
    Signalled<std::optional<FileEntry>> renameTarget_{{}, &WorkspaceModel::sheetsChanged};
    Signalled<std::optional<StorageReport>> report_{{}, &WorkspaceModel::reportChanged};
    QList<QList<FileEntry>> duplicateGroups_;
    QHash<QString, QString> sameFileAs_;
    Signalled<QList<TransferItem>> transfers_{{}, &WorkspaceModel::transfersChanged};
    std::unique_ptr<TransferStore> ownTransferStore_;
    QPointer<TransferStore> transferStore_;
    QPointer<UndoJournal> undoJournal_;
    Signalled<bool> details_{false, &WorkspaceModel::detailsChanged};
    Signalled<std::optional<QString>> ocrText_{{}, &WorkspaceModel::ocrChanged};
    Signalled<bool> ocrBusy_{false, &WorkspaceModel::ocrChanged};
    Signalled<QString> ocrProgress_{{}, &WorkspaceModel::ocrChanged};
    Signalled<std::optional<FileEntry>> previewFile_{{}, &WorkspaceModel::previewFileChanged};
    Signalled<MediaFilter> mediaFilter_{{}, &WorkspaceModel::mediaFilterChanged};
    Signalled<QHash<QString, MediaMetadata>> mediaMetadata_{{},
                                                            &WorkspaceModel::mediaMetadataChanged};
    Signalled<bool> readingMetadata_{false, &WorkspaceModel::readingMetadataChanged};
    Signalled<LibraryScope> libraryScope_{LibraryScope::Mac, &WorkspaceModel::libraryScopeChanged};
    Signalled<std::optional<QString>> libraryMessage_{{}, &WorkspaceModel::libraryMessageChanged};
    QSet<QString> discoveredScreenshots_;
    Signalled<LibraryResult> libraryResult_{LibraryResult::empty(),
                                            &WorkspaceModel::libraryResultChanged};
    Signalled<bool> isFiltering_{false, &WorkspaceModel::isFilteringChanged};
    QHash<QString, FileEntry> metadataVersions_;
    Signalled<std::shared_ptr<const StorageNode>> storageTree_{{},
                                                               &WorkspaceModel::storageTreeChanged};
    MediaMetadataReader metadataReader_;
    FileService service_;
    FilterSchedule filterTask_;
    MetadataBatchReader metadataTask_;
    ScanPipeline jobs_{service_};
    FolderNavigation folders_{service_};
    std::function<void(Feature)> onActivate_;
    WorkspacePlatform platform_ = WorkspacePlatform::headless();
    IndexDiscovery index_;
    SectionSwitch sections_{*this};
    WorkspaceActions actions_{*this};
};
