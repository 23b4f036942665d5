#include "workspace/workspace_model.h"

#include "tracker_library_discovery.h"
#include "transfer_store.h"
#include "workspace/transfer_undo.h"

#include <QDir>
#include <QFileInfo>
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
    : QObject(parent), folder_(QDir::homePath()), operation_(ready), metadataTask_(metadataReader_)
{
    if (!transferStore) {
        ownTransferStore_ = std::make_unique<TransferStore>();
        transferStore = ownTransferStore_.get();
    }
    transferStore_ = transferStore;
    undoJournal_ = &TransferUndo::journal(*transferStore);
    libraryDiscovery_ = libraryDiscovery ? std::move(libraryDiscovery)
                                         : std::make_unique<TrackerLibraryDiscovery>();

    transfers_.value = transferStore->items();
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
    connect(&folders_, &FolderNavigation::listed, this, [this](QList<FileEntry> files) {
        setFiles(std::move(files));
        folders_.showListing();
        if (followsDisk()) folders_.watch(folder_);
        readMetadataIfNeeded();
        if (isAnalysis(feature_) || feature_ == Feature::Timeline) scan();
    });
    connect(&folders_, &FolderNavigation::listingFailed, this, [this](const QString& message) {
        setFiles({});
        setError(message);
    });
    connect(&folders_, &FolderNavigation::relisted, this,
            [this](QList<FileEntry> files, const QString& reveal) {
                QSet<QString> kept = list_.selectionWithin(files, reveal);
                if (files != list_.files) {
                    setFiles(std::move(files));
                    readMetadataIfNeeded();
                }
                setSelection(std::move(kept));
            });
    connect(&folders_, &FolderNavigation::relistFailed, this,
            [this](const QString& message) { setError(message); });
    connect(&folders_, &FolderNavigation::showRequested, this,
            [this](const QString& place) { place.isEmpty() ? discoverMac() : navigate(place); });
    connect(&folders_, &FolderNavigation::changedOnDisk, this, [this] { reloadFolder(); });
    connect(&folders_, &FolderNavigation::historyChanged, this, &WorkspaceModel::historyChanged);
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
    list_.sortByDate = initialFeature == Feature::Recent || initialFeature == Feature::Timeline;
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

VisibleEntries WorkspaceModel::visibleEntries() const
{
    if (isLibrary(feature_) || isMacScope()) return {libraryResult_.value.files, {}, true};
    return list_.visible(feature_);
}

QList<FileEntry> WorkspaceModel::visible() const
{
    return visibleEntries().toList();
}

qsizetype WorkspaceModel::visibleCount() const
{
    if (isLibrary(feature_) || isMacScope()) return libraryResult_.value.files.size();
    return list_.visibleCount(feature_);
}

// Setters

void WorkspaceModel::setFiles(QList<FileEntry> files)
{
    list_.files = std::move(files);
    Q_EMIT filesChanged();
    scheduleLibraryFiltering(false);
}

void WorkspaceModel::setSelection(QSet<QString> selection)
{
    if (list_.selection == selection) return;
    list_.selection = std::move(selection);
    Q_EMIT selectionChanged();
}

void WorkspaceModel::setQuery(const QString& query)
{
    list_.query = query;
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
    list_.sortByDate = newestFirst;
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
        folder_,
        list_,
        mode_,
        report_.value,
        duplicateGroups_,
        sameFileAs_,
        mediaFilter_,
        libraryScope_.value,
        discoveredScreenshots_,
        libraryResult_.value,
        mediaMetadata_,
        metadataVersions_,
        storageTree_.value,
    };
}

void WorkspaceModel::restore(FeatureState state)
{
    setFolder(state.folder);
    setFiles(state.list.files);
    setSelection(state.list.selection);
    list_.query = state.list.query;
    Q_EMIT queryChanged();
    scheduleLibraryFiltering(true);
    setMode(state.mode);
    setSortByDate(state.list.sortByDate);
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

    folders_.cancel();
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
    folders_.stopFollowing();

    feature_ = feature;
    Q_EMIT featureChanged();

    const auto saved = states_.constFind(feature);
    if (saved != states_.cend()) {
        restore(*saved);
        if (isMacScope()) {
            if (!(isAnalysis(feature) && report_.value)) discoverMac();
        } else if (list_.files.isEmpty() && !report_.value) {
            navigate(folder_);
        } else {
            readMetadataIfNeeded();
        }
        if (feature == Feature::Storage && !storageTree_.value && report_.value)
            prepareStorage(report_.value->files, storageRoot(), report_.value->inaccessible);
        return;
    }
    setMediaFilter(MediaFilter());
    list_.query.clear();
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
    folders_.cancel();
    jobs_.cancelScan();
    jobs_.cancelSummary();
    metadataTask_.cancel();
    const bool keepList = isMacScope() && !list_.files.isEmpty();
    if (!isMacScope()) folders_.leave(folder_);
    folders_.stopFollowing();

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
    if (!hasMessage) setSelection(list_.selectionWithin(snapshot.files));
    readMetadataIfNeeded();
    if ((feature_ == Feature::Storage || feature_ == Feature::Large) && !hasMessage)
        prepareStorage(list_.files, QStringLiteral("/"), 0);
}

void WorkspaceModel::navigate(QString folder)
{
    if (const QString from = place(); from != folder) folders_.leave(from);
    folders_.stopFollowing();
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
    folders_.cancel();
    metadataTask_.cancel();
    setReadingMetadata(false);
    setMediaMetadata({});
    metadataVersions_.clear();

    folders_.list(folder);
}

QString WorkspaceModel::place() const
{
    return isMacScope() ? QString() : folder_;
}

bool WorkspaceModel::followsDisk() const
{
    // Scans and the index are not one folder's listing; a reload would replace them.
    return folders_.showsListing() && !isMacScope() && !isAnalysis(feature_) &&
           feature_ != Feature::Timeline;
}

void WorkspaceModel::reloadFolder(const QString& reveal)
{
    if (!followsDisk()) {
        refresh();
        return;
    }
    folders_.relist(folder_, reveal);
}

void WorkspaceModel::goBack()
{
    folders_.goBack(place());
}

void WorkspaceModel::goForward()
{
    folders_.goForward(place());
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
    jobs_.scan(mac ? std::optional(list_.files) : std::nullopt, folder_, duplicates);
}

void WorkspaceModel::publishScan(const ScanOutcome& outcome)
{
    folders_.stopFollowing();
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
    filterTask_.schedule(FilterPass::forSection({feature_, list_.files, minimumFileSize_,
                                                 timelineDays_, discoveredScreenshots_, list_.query,
                                                 mediaFilter_, list_.sortByDate, mediaMetadata_}),
                         debounce);
}

void WorkspaceModel::readMetadataIfNeeded()
{
    metadataTask_.cancel();
    setReadingMetadata(false);
    if (!isLibrary(feature_) || !mediaFilter_.needsMetadata()) return;
    const std::optional<MediaKind> kind = mediaKindOf(feature_);
    QList<FileEntry> pending;
    for (const FileEntry& file : list_.files) {
        if (file.mediaKind != kind) continue;
        const auto version = metadataVersions_.constFind(file.path);
        if (version == metadataVersions_.cend() || *version != file) pending.append(file);
    }
    if (pending.isEmpty()) return;
    setReadingMetadata(true);
    metadataTask_.start(std::move(pending));
}
