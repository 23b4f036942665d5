#include "workspace/workspace_model.h"

#include "day_window.h"
#include "tracker_library_discovery.h"
#include "transfer_store.h"
#include "when_finished.h"
#include "workspace/failure_message.h"
#include "workspace/settings.h"
#include "workspace/transfer_undo.h"

#include <QDir>
#include <QFileInfo>
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
    connect(&jobs_, &ScanPipeline::comparing, this, [this] { setActivity(true, comparing); });
    connect(&jobs_, &ScanPipeline::scanned, this, &WorkspaceModel::publishScan);
    connect(&jobs_, &ScanPipeline::summarized, this,
            [this](const StorageReport& report, const std::shared_ptr<const StorageNode>& tree) {
                setStorageTree(tree);
                setReport(report);
                setActivity(false, ready);
            });
    connect(&jobs_, &ScanPipeline::failed, this, [this](const QString& message) {
        setError(message);
        setActivity(false, failed);
    });

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

bool WorkspaceModel::isShown(const FileEntry& file, const DayWindow& recent) const
{
    if (!query_.isEmpty() && !file.name.contains(query_, Qt::CaseInsensitive)) return false;
    if (feature_ == Feature::Recent) return !file.isDirectory && recent.contains(file.modified);
    if (feature_ == Feature::Timeline) return !file.isDirectory;
    return true;
}

VisibleEntries WorkspaceModel::visibleEntries() const
{
    if (isLibrary(feature_) || isMacScope()) return {libraryResult_.files, {}, true};
    const bool byDate = sortByDate_ || feature_ == Feature::Timeline || feature_ == Feature::Recent;
    if (query_.isEmpty() && !byDate) return {files_, {}, true};
    const DayWindow recent(QDateTime::currentDateTimeUtc(), DayWindow::recentDays);
    VisibleEntries shown{files_, {}, false};
    for (int row = 0; row < files_.size(); ++row)
        if (isShown(files_[row], recent)) shown.rows.append(row);
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
    const DayWindow recent(QDateTime::currentDateTimeUtc(), DayWindow::recentDays);
    return std::count_if(files_.begin(), files_.end(),
                         [&](const FileEntry& file) { return isShown(file, recent); });
}

std::optional<FileEntry> WorkspaceModel::selected() const
{
    if (selection_.isEmpty()) return std::nullopt;
    for (const FileEntry& file : files_)
        if (selection_.contains(file.path)) return file;
    return std::nullopt;
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

void WorkspaceModel::setError(std::optional<QString> value)
{
    assign(error_, std::move(value), &WorkspaceModel::errorChanged);
}

void WorkspaceModel::setPalette(bool value)
{
    assign(palette_, std::move(value), &WorkspaceModel::sheetsChanged);
}

void WorkspaceModel::setNewFolder(bool value)
{
    assign(newFolder_, std::move(value), &WorkspaceModel::sheetsChanged);
}

void WorkspaceModel::setConfirmTrash(bool value)
{
    assign(confirmTrash_, std::move(value), &WorkspaceModel::sheetsChanged);
}

void WorkspaceModel::setRenameTarget(std::optional<FileEntry> value)
{
    assign(renameTarget_, std::move(value), &WorkspaceModel::sheetsChanged);
}

void WorkspaceModel::setDetails(bool value)
{
    assign(details_, std::move(value), &WorkspaceModel::detailsChanged);
}

void WorkspaceModel::setOcrText(std::optional<QString> value)
{
    assign(ocrText_, std::move(value), &WorkspaceModel::ocrChanged);
}

void WorkspaceModel::setOcrBusy(bool value)
{
    assign(ocrBusy_, std::move(value), &WorkspaceModel::ocrChanged);
}

void WorkspaceModel::setOcrProgress(QString value)
{
    assign(ocrProgress_, std::move(value), &WorkspaceModel::ocrChanged);
}

void WorkspaceModel::setPreviewFile(std::optional<FileEntry> value)
{
    assign(previewFile_, std::move(value), &WorkspaceModel::previewFileChanged);
}

void WorkspaceModel::setLibraryScope(LibraryScope value)
{
    assign(libraryScope_, std::move(value), &WorkspaceModel::libraryScopeChanged);
}

void WorkspaceModel::setLibraryMessage(std::optional<QString> value)
{
    assign(libraryMessage_, std::move(value), &WorkspaceModel::libraryMessageChanged);
}

void WorkspaceModel::setLibraryResult(LibraryResult value)
{
    assign(libraryResult_, std::move(value), &WorkspaceModel::libraryResultChanged);
}

void WorkspaceModel::setReport(std::optional<StorageReport> value)
{
    assign(report_, std::move(value), &WorkspaceModel::reportChanged);
}

void WorkspaceModel::setStorageTree(std::shared_ptr<const StorageNode> value)
{
    assign(storageTree_, std::move(value), &WorkspaceModel::storageTreeChanged);
}

void WorkspaceModel::setReadingMetadata(bool value)
{
    assign(readingMetadata_, std::move(value), &WorkspaceModel::readingMetadataChanged);
}

void WorkspaceModel::setIsFiltering(bool value)
{
    assign(isFiltering_, std::move(value), &WorkspaceModel::isFilteringChanged);
}

void WorkspaceModel::setTimelineGroups(QList<TimelineGroup> value)
{
    assign(timelineGroups_, std::move(value), &WorkspaceModel::timelineGroupsChanged);
}

void WorkspaceModel::setTransfers(QList<TransferItem> value)
{
    assign(transfers_, std::move(value), &WorkspaceModel::transfersChanged);
}

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
    jobs_.cancelScan();
    jobs_.cancelSummary();
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
    jobs_.cancelScan();
    jobs_.cancelSummary();
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
    jobs_.cancelSummary();
    setPreviewFile(std::nullopt);

    setFolder(folder);
    setFiles({});
    setSelection({});
    setReport(std::nullopt);
    setDuplicateGroups({});
    jobs_.cancelScan();
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
        const bool listed = succeeds([&] { setFiles(done.result()); },
                                     [this](const QString& message) {
                                         setFiles({});
                                         setError(message);
                                     });
        if (!listed) return;
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
        const bool listed =
            succeeds([&] { files = done.result(); },
                     [&](const QString& message) {
                         if (QFileInfo(folder).isDir()) {
                             setError(message);
                             return;
                         }
                         // The folder itself went away: show the nearest one that is still there.
                         QString parent = folder;
                         while (!QFileInfo(parent).isDir() && parent != QDir::rootPath())
                             parent = QFileInfo(parent).path();
                         showPlace(parent);
                     });
        if (!listed) return;
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
    jobs_.cancelScan();
    jobs_.cancelSummary();
    setActivity(true, scanning);
    jobs_.scan(mac ? std::optional(files_) : std::nullopt, folder_, duplicates);
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
    jobs_.cancelSummary();
    const bool withTree = feature_ == Feature::Storage;
    setActivity(true, withTree ? buildingTree : summarizing);
    jobs_.summarize(std::move(files), std::move(root), inaccessible, withTree);
}

void WorkspaceModel::cancelScan()
{
    jobs_.cancelScan();
    jobs_.cancelSummary();
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
