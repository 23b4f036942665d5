#include "workspace/workspace_model.h"

#include "storage_tree.h"
#include "tracker_library_discovery.h"
#include "transfer_store.h"
#include "when_finished.h"
#include "workspace/failure_message.h"
#include "workspace/settings.h"
#include "workspace/transfer_undo.h"

#include <QDir>
#include <QFileInfo>
#include <QThreadPool>
#include <QtConcurrent>
#include <algorithm>
#include <utility>

namespace {

const QString ready = QStringLiteral("Ready");
const QString discovering = QStringLiteral("Discovering indexed files\u2026");
const QString scanning = QStringLiteral("Scanning files\u2026");
const QString comparing = QStringLiteral("Comparing file contents\u2026");
const QString buildingTree = QStringLiteral("Building storage hierarchy\u2026");
const QString summarizing = QStringLiteral("Summarizing files\u2026");
const QString cancelled = QStringLiteral("Cancelled");
const QString failed = QStringLiteral("Failed");
const QString pausedMessage = QStringLiteral("Discovery paused. Refresh to resume.");

constexpr qint64 secondsPerDay = 86400;

// Storage summaries run below normal priority: they must not slow the window.
QThreadPool* summaryPool()
{
    static QThreadPool pool;
    static const bool configured = [] {
        pool.setThreadPriority(QThread::LowPriority);
        return true;
    }();
    Q_UNUSED(configured);
    return &pool;
}

QList<FileEntry> nonFolders(const QList<FileEntry>& files)
{
    QList<FileEntry> kept;
    kept.reserve(files.size());
    for (const FileEntry& file : files)
        if (!file.isDirectory) kept.append(file);
    return kept;
}

} // namespace

WorkspaceModel::WorkspaceModel(std::unique_ptr<LibraryDiscovering> libraryDiscovery,
                               Feature initialFeature, TransferStore* transferStore,
                               QObject* parent)
    : QObject(parent), folder_(QDir::homePath()), operation_(ready),
      libraryResult_(LibraryResult::empty()), metadataTask_(metadataReader_)
{
    if (!transferStore) {
        ownTransferStore_ = std::make_unique<TransferStore>();
        transferStore = ownTransferStore_.get();
    }
    transferStore_ = transferStore;
    undoJournal_ = &TransferUndo::journal(*transferStore);
    libraryDiscovery_ = libraryDiscovery ? std::move(libraryDiscovery)
                                         : std::make_unique<TrackerLibraryDiscovery>();

    transfers_ = transferStore->items();
    connect(transferStore, &TransferStore::itemsChanged, this,
            [this] { setTransfers(transferStore_->items()); });
    // The folder watch can miss a change (no inotify slot left, or a single
    // rename racing its start): a finished job touching the shown folder is
    // reason enough to list it again.
    connect(transferStore, &TransferStore::itemFinished, this, [this](const TransferItem& item) {
        const QString from = QFileInfo(item.source).absolutePath();
        if (followsDisk() && (item.destinationFolder == folder_ || from == folder_)) reloadFolder();
    });
    connect(&filterTask_, &FilterSchedule::published, this, [this](const FilterOutput& output) {
        setLibraryResult(output.result);
        setTimelineGroups(output.timelineGroups);
        setIsFiltering(false);
    });
    connect(&filterTask_, &FilterSchedule::abandoned, this, [this] { setIsFiltering(false); });
    connect(&metadataTask_, &MetadataBatchReader::batchReady, this,
            [this](const QHash<QString, MediaMetadata>& metadata,
                   const QHash<QString, FileEntry>& versions) {
                for (auto it = versions.cbegin(); it != versions.cend(); ++it)
                    metadataVersions_.insert(it.key(), it.value());
                QHash<QString, MediaMetadata> merged = mediaMetadata_;
                for (auto it = metadata.cbegin(); it != metadata.cend(); ++it)
                    merged.insert(it.key(), it.value());
                setMediaMetadata(std::move(merged));
            });
    connect(&metadataTask_, &MetadataBatchReader::finished, this,
            [this] { setReadingMetadata(false); });
    connect(&folderWatch_, &FolderWatch::changed, this, [this] { reloadFolder(); });

    feature_ = initialFeature;
    sortByDate_ = initialFeature == Feature::Recent || initialFeature == Feature::Timeline;
    scheduleLibraryFiltering(false);
    discoverMac();
}

WorkspaceModel::~WorkspaceModel()
{
    libraryDiscovery_->stop();
    filterTask_.cancel();
    metadataTask_.cancel();
}

// Computed state

bool WorkspaceModel::isShown(const FileEntry& file, const QDateTime& weekAgo) const
{
    if (!query_.isEmpty() && !file.name.contains(query_, Qt::CaseInsensitive)) return false;
    if (feature_ == Feature::Recent) return !file.isDirectory && file.modified > weekAgo;
    if (feature_ == Feature::Timeline) return !file.isDirectory;
    return true;
}

VisibleEntries WorkspaceModel::visibleEntries() const
{
    if (isLibrary(feature_) || isMacScope()) return {libraryResult_.files, {}, true};
    const bool byDate = sortByDate_ || feature_ == Feature::Timeline || feature_ == Feature::Recent;
    if (query_.isEmpty() && !byDate) return {files_, {}, true};
    const QDateTime weekAgo = QDateTime::currentDateTimeUtc().addSecs(-7 * secondsPerDay);
    VisibleEntries shown{files_, {}, false};
    for (int row = 0; row < files_.size(); ++row)
        if (isShown(files_[row], weekAgo)) shown.rows.append(row);
    shown.rows.squeeze();
    if (byDate)
        std::stable_sort(shown.rows.begin(), shown.rows.end(),
                         [this](int a, int b) { return files_[a].modified > files_[b].modified; });
    return shown;
}

QList<FileEntry> WorkspaceModel::visible() const
{
    return visibleEntries().toList();
}

qsizetype WorkspaceModel::visibleCount() const
{
    if (isLibrary(feature_) || isMacScope()) return libraryResult_.files.size();
    if (query_.isEmpty() && feature_ != Feature::Recent && feature_ != Feature::Timeline)
        return files_.size();
    const QDateTime weekAgo = QDateTime::currentDateTimeUtc().addSecs(-7 * secondsPerDay);
    return std::count_if(files_.begin(), files_.end(),
                         [&](const FileEntry& file) { return isShown(file, weekAgo); });
}

std::optional<FileEntry> WorkspaceModel::selected() const
{
    if (selection_.isEmpty()) return std::nullopt;
    for (const FileEntry& file : files_)
        if (selection_.contains(file.path)) return file;
    return std::nullopt;
}

QStringList WorkspaceModel::selectionInOrder() const
{
    QStringList ordered;
    QSet<QString> rest = selection_;
    for (const FileEntry& file : visible())
        if (rest.remove(file.path)) ordered << file.path;
    QStringList others(rest.cbegin(), rest.cend());
    others.sort();
    return ordered + others;
}

// Setters

void WorkspaceModel::setFiles(QList<FileEntry> files)
{
    files_ = std::move(files);
    Q_EMIT filesChanged();
    scheduleLibraryFiltering(false);
}

void WorkspaceModel::setSelection(QSet<QString> selection)
{
    if (selection_ == selection) return;
    selection_ = std::move(selection);
    Q_EMIT selectionChanged();
}

void WorkspaceModel::setQuery(const QString& query)
{
    query_ = query;
    Q_EMIT queryChanged();
    scheduleLibraryFiltering(true);
}

void WorkspaceModel::setMode(BrowserMode mode)
{
    if (mode_ == mode) return;
    mode_ = mode;
    Q_EMIT modeChanged();
}

void WorkspaceModel::setMinimumFileSize(qint64 bytes)
{
    minimumFileSize_ = bytes;
    Q_EMIT minimumFileSizeChanged();
    scheduleLibraryFiltering(false);
}

void WorkspaceModel::setTimelineDays(int days)
{
    timelineDays_ = days;
    Q_EMIT timelineDaysChanged();
    scheduleLibraryFiltering(false);
}

void WorkspaceModel::setSortByDate(bool newestFirst)
{
    sortByDate_ = newestFirst;
    Q_EMIT sortByDateChanged();
    scheduleLibraryFiltering(false);
}

void WorkspaceModel::setMediaFilter(const MediaFilter& filter)
{
    mediaFilter_ = filter;
    Q_EMIT mediaFilterChanged();
    scheduleLibraryFiltering(false);
}

void WorkspaceModel::setMediaMetadata(QHash<QString, MediaMetadata> metadata)
{
    mediaMetadata_ = std::move(metadata);
    Q_EMIT mediaMetadataChanged();
    scheduleLibraryFiltering(false);
}

void WorkspaceModel::setDiscoveredScreenshots(QSet<QString> screenshots)
{
    discoveredScreenshots_ = std::move(screenshots);
    scheduleLibraryFiltering(false);
}

#define QUORVANE_SETTER(Name, member, type, signal)                                                \
    void WorkspaceModel::Name(type value)                                                          \
    {                                                                                              \
        if (member == value) return;                                                               \
        member = std::move(value);                                                                 \
        Q_EMIT signal();                                                                           \
    }

QUORVANE_SETTER(setError, error_, std::optional<QString>, errorChanged)
QUORVANE_SETTER(setPalette, palette_, bool, sheetsChanged)
QUORVANE_SETTER(setNewFolder, newFolder_, bool, sheetsChanged)
QUORVANE_SETTER(setConfirmTrash, confirmTrash_, bool, sheetsChanged)
QUORVANE_SETTER(setRenameTarget, renameTarget_, std::optional<FileEntry>, sheetsChanged)
QUORVANE_SETTER(setDetails, details_, bool, detailsChanged)
QUORVANE_SETTER(setOcrText, ocrText_, std::optional<QString>, ocrChanged)
QUORVANE_SETTER(setOcrBusy, ocrBusy_, bool, ocrChanged)
QUORVANE_SETTER(setOcrProgress, ocrProgress_, QString, ocrChanged)
QUORVANE_SETTER(setPreviewFile, previewFile_, std::optional<FileEntry>, previewFileChanged)
QUORVANE_SETTER(setLibraryScope, libraryScope_, LibraryScope, libraryScopeChanged)
QUORVANE_SETTER(setLibraryMessage, libraryMessage_, std::optional<QString>, libraryMessageChanged)
QUORVANE_SETTER(setLibraryResult, libraryResult_, LibraryResult, libraryResultChanged)
QUORVANE_SETTER(setReport, report_, std::optional<StorageReport>, reportChanged)
QUORVANE_SETTER(setStorageTree, storageTree_, std::shared_ptr<const StorageNode>,
                storageTreeChanged)
QUORVANE_SETTER(setReadingMetadata, readingMetadata_, bool, readingMetadataChanged)
QUORVANE_SETTER(setIsFiltering, isFiltering_, bool, isFilteringChanged)
QUORVANE_SETTER(setTimelineGroups, timelineGroups_, QList<TimelineGroup>, timelineGroupsChanged)
QUORVANE_SETTER(setTransfers, transfers_, QList<TransferItem>, transfersChanged)

#undef QUORVANE_SETTER

void WorkspaceModel::setDuplicateGroups(QList<QList<FileEntry>> groups,
                                        QHash<QString, QString> sameFileAs)
{
    if (duplicateGroups_ == groups && sameFileAs_ == sameFileAs) return;
    duplicateGroups_ = std::move(groups);
    sameFileAs_ = std::move(sameFileAs);
    Q_EMIT duplicateGroupsChanged();
}

void WorkspaceModel::setFolder(const QString& folder)
{
    if (folder_ == folder) return;
    folder_ = folder;
    Q_EMIT folderChanged();
}

void WorkspaceModel::setActivity(bool busy, const QString& operation)
{
    if (busy_ == busy && operation_ == operation) return;
    busy_ = busy;
    operation_ = operation;
    Q_EMIT activityChanged();
}

// Sections

FeatureState WorkspaceModel::savedState() const
{
    return FeatureState{
        folder_,        files_,         selection_,        query_,
        mode_,          sortByDate_,    report_,           duplicateGroups_,
        sameFileAs_,    mediaFilter_,   libraryScope_,     discoveredScreenshots_,
        libraryResult_, mediaMetadata_, metadataVersions_, storageTree_,
    };
}

void WorkspaceModel::restore(FeatureState state)
{
    setFolder(state.folder);
    setFiles(state.files);
    setSelection(state.selection);
    query_ = state.query;
    Q_EMIT queryChanged();
    scheduleLibraryFiltering(true);
    setMode(state.mode);
    setSortByDate(state.sortByDate);
    setReport(state.report);
    setDuplicateGroups(state.groups, state.sameFileAs);
    setMediaFilter(state.mediaFilter);
    setLibraryScope(state.libraryScope);
    setDiscoveredScreenshots(state.screenshots);
    setLibraryResult(state.libraryResult);
    setMediaMetadata(state.metadata);
    metadataVersions_ = state.metadataVersions;
    setStorageTree(state.storageTree);
}

void WorkspaceModel::activate(Feature feature)
{
    if (onActivate_) {
        onActivate_(feature);
        return;
    }
    if (feature == feature_) return;
    states_.insert(feature_, savedState());

    loadTask_.cancel();
    scanTask_.cancel();
    treeTask_.cancel();
    metadataTask_.cancel();
    setReadingMetadata(false);
    setActivity(false, operation_);
    libraryDiscovery_->stop();
    filterTask_.cancel();
    setIsFiltering(false);
    setLibraryMessage(std::nullopt);
    setPreviewFile(std::nullopt);
    listingShown_ = false;
    folderWatch_.stop();

    feature_ = feature;
    Q_EMIT featureChanged();

    const auto saved = states_.constFind(feature);
    if (saved != states_.cend()) {
        restore(*saved);
        if (isMacScope()) {
            if (!(isAnalysis(feature) && report_)) discoverMac();
        } else if (files_.isEmpty() && !report_) {
            navigate(folder_);
        } else {
            readMetadataIfNeeded();
        }
        if (feature == Feature::Storage && !storageTree_ && report_)
            prepareStorage(report_->files, storageRoot(), report_->inaccessible);
        return;
    }
    setMediaFilter(MediaFilter());
    query_.clear();
    Q_EMIT queryChanged();
    setMode(feature == Feature::Recent ? BrowserMode::List : BrowserMode::Grid);
    setSortByDate(feature == Feature::Timeline || feature == Feature::Recent);
    setFiles({});
    setLibraryResult(LibraryResult::empty());
    setDiscoveredScreenshots({});
    setStorageTree(nullptr);
    discoverMac();
}

QString WorkspaceModel::storageRoot() const
{
    return isMacScope() ? QStringLiteral("/") : folder_;
}

// Loading

void WorkspaceModel::discoverMac()
{
    const MediaKind kind = mediaKindOf(feature_).value_or(MediaKind::Other);
    loadTask_.cancel();
    scanTask_.cancel();
    treeTask_.cancel();
    metadataTask_.cancel();
    const bool keepList = isMacScope() && !files_.isEmpty();
    if (!isMacScope() && !walkingHistory_) {
        history_.visit(folder_);
        Q_EMIT historyChanged();
    }
    listingShown_ = false;
    folderWatch_.stop();

    setLibraryScope(LibraryScope::Mac);
    setLibraryMessage(std::nullopt);
    setReadingMetadata(false);
    setSelection({});
    setPreviewFile(std::nullopt);
    setReport(std::nullopt);
    setDuplicateGroups({});
    setStorageTree(nullptr);

    if (feature_ == Feature::Transfers) {
        setActivity(false, operation_);
        setFiles({});
        scheduleLibraryFiltering(false);
        return;
    }
    setActivity(true, discovering);
    QPointer<WorkspaceModel> self(this);
    libraryDiscovery_->start(kind, feature_ == Feature::Screenshots,
                             [self, keepList](const LibrarySnapshot& snapshot) {
                                 if (self) self->receive(snapshot, keepList);
                             });
}

void WorkspaceModel::receive(const LibrarySnapshot& snapshot, bool keepList)
{
    if (!isMacScope()) return;
    const bool hasMessage = snapshot.message.has_value();
    if (!(keepList && snapshot.gathering) && !hasMessage) {
        setFiles(snapshot.files);
        setDiscoveredScreenshots(snapshot.screenshots);
    }
    setActivity(snapshot.gathering, snapshot.gathering ? discovering : ready);
    setLibraryMessage(snapshot.message);
    if (snapshot.gathering) return;
    if (!hasMessage) {
        QSet<QString> present;
        present.reserve(snapshot.files.size());
        for (const FileEntry& file : snapshot.files)
            present.insert(file.path);
        QSet<QString> kept = selection_;
        kept.intersect(present);
        setSelection(std::move(kept));
    }
    readMetadataIfNeeded();
    if ((feature_ == Feature::Storage || feature_ == Feature::Large) && !hasMessage)
        prepareStorage(files_, QStringLiteral("/"), 0);
}

void WorkspaceModel::navigate(QString folder)
{
    if (const QString from = place(); !walkingHistory_ && from != folder) {
        history_.visit(from);
        Q_EMIT historyChanged();
    }
    listingShown_ = false;
    folderWatch_.stop();
    libraryDiscovery_->stop();
    setLibraryScope(LibraryScope::Folder);
    setLibraryMessage(std::nullopt);
    setDiscoveredScreenshots({});
    setLibraryResult(LibraryResult::empty());
    setStorageTree(nullptr);
    treeTask_.cancel();
    setPreviewFile(std::nullopt);

    setFolder(folder);
    setFiles({});
    setSelection({});
    setReport(std::nullopt);
    setDuplicateGroups({});
    scanTask_.cancel();
    setActivity(false, operation_);
    loadTask_.cancel();
    metadataTask_.cancel();
    setReadingMetadata(false);
    setMediaMetadata({});
    metadataVersions_.clear();

    const TaskSlot::Ticket ticket = loadTask_.start();
    QFuture<QList<FileEntry>> listing = service_.contents(folder, Settings::showHidden());
    loadTask_.onCancel([listing]() mutable { listing.cancel(); });
    whenFinished(listing, this, [this, ticket](QFuture<QList<FileEntry>> done) {
        if (ticket.isCancelled()) return;
        loadTask_.finish(ticket);
        try {
            setFiles(done.result());
        } catch (const Cancelled&) {
            return;
        } catch (...) {
            setFiles({});
            setError(failureMessage(std::current_exception()));
            return;
        }
        listingShown_ = true;
        if (followsDisk()) folderWatch_.watch(folder_);
        readMetadataIfNeeded();
        if (isAnalysis(feature_) || feature_ == Feature::Timeline) scan();
    });
}

QString WorkspaceModel::place() const
{
    return isMacScope() ? QString() : folder_;
}

bool WorkspaceModel::followsDisk() const
{
    // Scans and the index are not one folder's listing; a reload would replace them.
    return listingShown_ && !isMacScope() && !isAnalysis(feature_) && feature_ != Feature::Timeline;
}

void WorkspaceModel::reloadFolder(const QString& reveal)
{
    if (!followsDisk()) {
        refresh();
        return;
    }
    const QString folder = folder_;
    const TaskSlot::Ticket ticket = loadTask_.start();
    QFuture<QList<FileEntry>> listing = service_.contents(folder, Settings::showHidden());
    loadTask_.onCancel([listing]() mutable { listing.cancel(); });
    whenFinished(listing, this, [this, ticket, folder, reveal](QFuture<QList<FileEntry>> done) {
        if (ticket.isCancelled()) return;
        loadTask_.finish(ticket);
        QList<FileEntry> files;
        try {
            files = done.result();
        } catch (const Cancelled&) {
            return;
        } catch (...) {
            if (QFileInfo(folder).isDir()) {
                setError(failureMessage(std::current_exception()));
                return;
            }
            // The folder itself went away: show the nearest one that is still there.
            QString parent = folder;
            while (!QFileInfo(parent).isDir() && parent != QDir::rootPath())
                parent = QFileInfo(parent).path();
            showPlace(parent);
            return;
        }
        QSet<QString> present;
        present.reserve(files.size());
        for (const FileEntry& file : std::as_const(files))
            present.insert(file.path);
        QSet<QString> kept = selection_;
        kept.intersect(present);
        if (present.contains(reveal)) kept = {reveal};
        if (files != files_) {
            setFiles(std::move(files));
            readMetadataIfNeeded();
        }
        setSelection(std::move(kept));
    });
}

void WorkspaceModel::goBack()
{
    showPlace(history_.back(place()));
}

void WorkspaceModel::goForward()
{
    showPlace(history_.forward(place()));
}

void WorkspaceModel::showPlace(const std::optional<QString>& to)
{
    if (!to) return;
    // A step through the history is not a new visit.
    const bool walking = std::exchange(walkingHistory_, true);
    to->isEmpty() ? discoverMac() : navigate(*to);
    walkingHistory_ = walking;
    Q_EMIT historyChanged();
}

void WorkspaceModel::refresh()
{
    if (isMacScope())
        discoverMac();
    else
        navigate(folder_);
}

void WorkspaceModel::chooseFolder()
{
    if (const auto chosen = platform_.chooseFolder(QStringLiteral("Open folder"), QString()))
        navigate(*chosen);
}

void WorkspaceModel::scan()
{
    const bool mac = isMacScope();
    const bool duplicates = feature_ == Feature::Duplicates;
    if (mac && !duplicates) {
        discoverMac();
        return;
    }
    libraryDiscovery_->stop();
    scanTask_.cancel();
    treeTask_.cancel();
    setActivity(true, scanning);

    const TaskSlot::Ticket ticket = scanTask_.start();
    QFuture<StorageReport> scanned =
        mac ? QtFuture::makeReadyFuture(StorageReport(nonFolders(files_), 0))
            : service_.scan(folder_);
    scanTask_.onCancel([scanned]() mutable { scanned.cancel(); });

    QPointer<WorkspaceModel> self(this);
    auto fail = [this, ticket](const std::exception_ptr& failure) {
        if (ticket.isCancelled()) return;
        scanTask_.finish(ticket);
        setError(failureMessage(failure));
        setActivity(false, failed);
    };
    whenFinished(scanned, this, [this, ticket, duplicates, fail](QFuture<StorageReport> done) {
        if (ticket.isCancelled()) return;
        StorageReport report;
        try {
            report = done.result();
        } catch (const Cancelled&) {
            return;
        } catch (...) {
            fail(std::current_exception());
            return;
        }
        if (!duplicates) {
            scanTask_.finish(ticket);
            publishScan({report, {}, {}});
            return;
        }
        setActivity(true, comparing);
        QFuture<DuplicateReport> hashed = service_.duplicateReport(report.files);
        scanTask_.onCancel([hashed]() mutable { hashed.cancel(); });
        whenFinished(
            hashed, this, [this, ticket, report, fail](QFuture<DuplicateReport> hashedDone) {
                if (ticket.isCancelled()) return;
                DuplicateReport found;
                try {
                    found = hashedDone.result();
                } catch (const Cancelled&) {
                    return;
                } catch (...) {
                    fail(std::current_exception());
                    return;
                }
                scanTask_.finish(ticket);
                publishScan({StorageReport(report.files, report.inaccessible + found.skipped),
                             found.groups, found.sameFileAs});
            });
    });
}

void WorkspaceModel::publishScan(const ScanOutcome& outcome)
{
    listingShown_ = false;
    folderWatch_.stop();
    setDuplicateGroups(outcome.groups, outcome.sameFileAs);
    setReport(outcome.report);
    setFiles(outcome.report.files);
    readMetadataIfNeeded();
    setActivity(false, ready);
    if (feature_ == Feature::Storage)
        prepareStorage(outcome.report.files, storageRoot(), outcome.report.inaccessible);
}

void WorkspaceModel::prepareStorage(QList<FileEntry> files, QString root, int inaccessible)
{
    treeTask_.cancel();
    const bool withTree = feature_ == Feature::Storage;
    setActivity(true, withTree ? buildingTree : summarizing);

    const TaskSlot::Ticket ticket = treeTask_.start();
    const CancelCheck isCancelled = ticket.cancelCheck();
    struct Summary {
        StorageReport report;
        std::shared_ptr<const StorageNode> tree;
    };
    QFuture<Summary> summary =
        QtConcurrent::run(summaryPool(), [files, root, inaccessible, withTree, isCancelled] {
            Summary result;
            result.report = StorageReport(nonFolders(files), inaccessible);
            throwIfCancelled(isCancelled);
            if (withTree) result.tree = StorageTree::build(result.report.files, root, isCancelled);
            return result;
        });
    whenFinished(summary, this, [this, ticket](QFuture<Summary> done) {
        if (ticket.isCancelled()) return;
        treeTask_.finish(ticket);
        try {
            Summary result = done.result();
            setStorageTree(result.tree);
            setReport(std::move(result.report));
            setActivity(false, ready);
        } catch (const Cancelled&) {
        } catch (...) {
            setError(failureMessage(std::current_exception()));
            setActivity(false, failed);
        }
    });
}

void WorkspaceModel::cancelScan()
{
    scanTask_.cancel();
    treeTask_.cancel();
    if (isMacScope()) {
        libraryDiscovery_->stop();
        setLibraryMessage(pausedMessage);
    }
    setActivity(false, cancelled);
}

// Filtering and media properties

void WorkspaceModel::scheduleLibraryFiltering(bool debounce)
{
    filterTask_.cancel();
    if (feature_ == Feature::Transfers) {
        setIsFiltering(false);
        return;
    }
    setIsFiltering(true);
    filterTask_.schedule(FilterPass::forSection({feature_, files_, minimumFileSize_, timelineDays_,
                                                 discoveredScreenshots_, query_, mediaFilter_,
                                                 sortByDate_, mediaMetadata_}),
                         debounce);
}

void WorkspaceModel::readMetadataIfNeeded()
{
    metadataTask_.cancel();
    setReadingMetadata(false);
    if (!isLibrary(feature_) || !mediaFilter_.needsMetadata()) return;
    const std::optional<MediaKind> kind = mediaKindOf(feature_);
    QList<FileEntry> pending;
    for (const FileEntry& file : files_) {
        if (file.mediaKind != kind) continue;
        const auto version = metadataVersions_.constFind(file.path);
        if (version == metadataVersions_.cend() || *version != file) pending.append(file);
    }
    if (pending.isEmpty()) return;
    setReadingMetadata(true);
    metadataTask_.start(std::move(pending));
}
