#include "workspace/workspace_model.h"

#include "tracker_library_discovery.h"
#include "transfer_store.h"
#include "workspace/activity_text.h"
#include "workspace/transfer_undo.h"

#include <QDir>
#include <QFileInfo>
#include <utility>

WorkspaceModel::WorkspaceModel(std::unique_ptr<LibraryDiscovering> libraryDiscovery,
                               Feature initialFeature, TransferStore* transferStore,
                               QObject* parent)
    : QObject(parent), operation_(ActivityText::ready()), metadataTask_(metadataReader_),
      index_(*this, libraryDiscovery ? std::move(libraryDiscovery)
                                     : std::make_unique<TrackerLibraryDiscovery>())
{
    if (!transferStore) {
        ownTransferStore_ = std::make_unique<TransferStore>();
        transferStore = ownTransferStore_.get();
    }
    transferStore_ = transferStore;
    undoJournal_ = &TransferUndo::journal(*transferStore);

    folder_.value = QDir::homePath();
    transfers_.value = transferStore->items();
    connect(transferStore, &TransferStore::itemsChanged, this,
            [this] { setTransfers(transferStore_->items()); });
    // The folder watch can miss a change (no inotify slot left, or a single
    // rename racing its start): a finished job touching the shown folder is
    // reason enough to list it again.
    connect(transferStore, &TransferStore::itemFinished, this, [this](const TransferItem& item) {
        const QString from = QFileInfo(item.source).absolutePath();
        if (followsDisk() && (item.destinationFolder == folder() || from == folder()))
            reloadFolder();
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
                QHash<QString, MediaMetadata> merged = mediaMetadata();
                for (auto it = metadata.cbegin(); it != metadata.cend(); ++it)
                    merged.insert(it.key(), it.value());
                setMediaMetadata(std::move(merged));
            });
    connect(&metadataTask_, &MetadataBatchReader::finished, this,
            [this] { setReadingMetadata(false); });
    applyFolderNavigation();
    connect(&jobs_, &ScanPipeline::comparing, this,
            [this] { setActivity(true, ActivityText::comparing()); });
    connect(&jobs_, &ScanPipeline::scanned, this, &WorkspaceModel::publishScan);
    connect(&jobs_, &ScanPipeline::summarized, this,
            [this](const StorageReport& report, const std::shared_ptr<const StorageNode>& tree) {
                setStorageTree(tree);
                setReport(report);
                setActivity(false, ActivityText::ready());
            });
    connect(&jobs_, &ScanPipeline::failed, this, [this](const QString& message) {
        setError(message);
        setActivity(false, ActivityText::failed());
    });

    feature_ = initialFeature;
    list_.sortByDate = initialFeature == Feature::Recent || initialFeature == Feature::Timeline;
    scheduleLibraryFiltering(false);
    discoverMac();
}

WorkspaceModel::~WorkspaceModel()
{
    index_.stop();
    filterTask_.cancel();
    metadataTask_.cancel();
}

void WorkspaceModel::applyFolderNavigation()
{
    connect(&folders_, &FolderNavigation::listed, this, [this](QList<FileEntry> files) {
        grewSinceListed_ = false;
        setFiles(std::move(files));
        folders_.showListing();
    });
    connect(&folders_, &FolderNavigation::listingGrew, this, &WorkspaceModel::appendFiles);
    connect(&folders_, &FolderNavigation::listingFinished, this, [this] {
        // Only now: setting the watch keeps a core busy in the kernel, where
        // nothing can take it, for tens of milliseconds in a huge folder; while
        // the listing has the other core, the window would wait that long.
        // Changes meanwhile are told by the folder's modification time.
        if (followsDisk()) folders_.watch(folder());
        if (std::exchange(grewSinceListed_, false)) {
            Q_EMIT filesChanged();
            scheduleLibraryFiltering(false);
        }
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
}

// Computed state

VisibleEntries WorkspaceModel::visibleEntries() const
{
    if (isLibrary(feature_) || isMacScope()) return {libraryResult().files, {}, true};
    return list_.visible(feature_);
}

QList<FileEntry> WorkspaceModel::visible() const
{
    return visibleEntries().toList();
}

qsizetype WorkspaceModel::visibleCount() const
{
    if (isLibrary(feature_) || isMacScope()) return libraryResult().files.size();
    return list_.visibleCount(feature_);
}

// Setters

void WorkspaceModel::setFiles(QList<FileEntry> files)
{
    list_.files = std::move(files);
    Q_EMIT filesChanged();
    scheduleLibraryFiltering(false);
}

void WorkspaceModel::appendFiles(const QList<FileEntry>& more)
{
    if (more.isEmpty()) return;
    grewSinceListed_ = true;
    Q_EMIT filesAboutToGrow(list_.files.size(), more.size());
    filterTask_.releaseFiles(); // else the list would be copied to grow
    list_.files.append(more);
    Q_EMIT filesGrew();
}

bool WorkspaceModel::listsInParts() const
{
    return !isLibrary(feature_) && !isMacScope() && list_.showsAll(feature_);
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

void WorkspaceModel::setSortByDate(bool newestFirst)
{
    list_.sortByDate = newestFirst;
    Q_EMIT sortByDateChanged();
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

void WorkspaceModel::setActivity(bool busy, const QString& operation)
{
    if (busy_ == busy && operation_ == operation) return;
    busy_ = busy;
    operation_ = operation;
    Q_EMIT activityChanged();
}

// Sections

void WorkspaceModel::activate(Feature feature)
{
    if (onActivate_) {
        onActivate_(feature);
        return;
    }
    sections_.activate(feature);
}

QString WorkspaceModel::storageRoot() const
{
    return isMacScope() ? QStringLiteral("/") : folder();
}

// Loading

void WorkspaceModel::navigate(QString folder)
{
    if (const QString from = place(); from != folder) folders_.leave(from);
    folders_.stopFollowing();
    index_.stop();
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

    folders_.list(folder, listsInParts());
}

QString WorkspaceModel::place() const
{
    return isMacScope() ? QString() : folder();
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
    folders_.relist(folder(), reveal);
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
        navigate(folder());
}

void WorkspaceModel::chooseFolder()
{
    if (const auto chosen = platform_.chooseFolder(tr("Open folder"), QString())) navigate(*chosen);
}

void WorkspaceModel::scan()
{
    const bool mac = isMacScope();
    const bool duplicates = feature_ == Feature::Duplicates;
    if (mac && !duplicates) {
        discoverMac();
        return;
    }
    index_.stop();
    jobs_.cancelScan();
    jobs_.cancelSummary();
    setActivity(true, ActivityText::scanning());
    jobs_.scan(mac ? std::optional(list_.files) : std::nullopt, folder(), duplicates);
}

void WorkspaceModel::publishScan(const ScanOutcome& outcome)
{
    folders_.stopFollowing();
    setDuplicateGroups(outcome.groups, outcome.sameFileAs);
    setReport(outcome.report);
    setFiles(outcome.report.files);
    readMetadataIfNeeded();
    setActivity(false, ActivityText::ready());
    if (feature_ == Feature::Storage)
        prepareStorage(outcome.report.files, storageRoot(), outcome.report.inaccessible);
}

void WorkspaceModel::prepareStorage(QList<FileEntry> files, QString root, int inaccessible)
{
    jobs_.cancelSummary();
    const bool withTree = feature_ == Feature::Storage;
    setActivity(true, withTree ? ActivityText::buildingTree() : ActivityText::summarizing());
    jobs_.summarize(std::move(files), std::move(root), inaccessible, withTree);
}

void WorkspaceModel::cancelScan()
{
    jobs_.cancelScan();
    jobs_.cancelSummary();
    if (isMacScope()) {
        index_.stop();
        setLibraryMessage(ActivityText::paused());
    }
    setActivity(false, ActivityText::cancelled());
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
    filterTask_.schedule(
        FilterPass::forSection({feature_, list_.files, minimumFileSize(), timelineDays(),
                                discoveredScreenshots_, list_.query, mediaFilter(),
                                list_.sortByDate, mediaMetadata()}),
        debounce);
}

void WorkspaceModel::readMetadataIfNeeded()
{
    metadataTask_.cancel();
    setReadingMetadata(false);
    if (!isLibrary(feature_) || !mediaFilter().needsMetadata()) return;
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
