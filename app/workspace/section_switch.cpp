#include "workspace/section_switch.h"

#include "workspace/workspace_model.h"

void SectionSwitch::activate(Feature feature)
{
    if (feature == model_.feature_) return;
    states_.insert(model_.feature_, saved());

    model_.folders_.cancel();
    model_.jobs_.cancelScan();
    model_.jobs_.cancelSummary();
    model_.metadataTask_.cancel();
    model_.setReadingMetadata(false);
    model_.setActivity(false, model_.operation_);
    model_.index_.stop();
    model_.filterTask_.cancel();
    model_.setIsFiltering(false);
    model_.setLibraryMessage(std::nullopt);
    model_.setPreviewFile(std::nullopt);
    model_.folders_.stopFollowing();

    model_.feature_ = feature;
    Q_EMIT model_.featureChanged();

    const auto saved = states_.constFind(feature);
    if (saved == states_.cend()) {
        startFresh(feature);
        return;
    }
    restore(*saved);
    resume(feature);
}

FeatureState SectionSwitch::saved() const
{
    return FeatureState{
        model_.folder(),
        model_.list_,
        model_.mode(),
        model_.report(),
        model_.duplicateGroups_,
        model_.sameFileAs_,
        model_.mediaFilter(),
        model_.libraryScope(),
        model_.discoveredScreenshots_,
        model_.libraryResult(),
        model_.mediaMetadata(),
        model_.metadataVersions_,
        model_.storageTree(),
    };
}

void SectionSwitch::restore(FeatureState state)
{
    model_.setFolder(state.folder);
    model_.setFiles(state.list.files);
    model_.setSelection(state.list.selection);
    model_.list_.query = state.list.query;
    Q_EMIT model_.queryChanged();
    model_.scheduleLibraryFiltering(true);
    model_.setMode(state.mode);
    model_.setSortByDate(state.list.sortByDate);
    model_.setReport(state.report);
    model_.setDuplicateGroups(state.groups, state.sameFileAs);
    model_.setMediaFilter(state.mediaFilter);
    model_.setLibraryScope(state.libraryScope);
    model_.setDiscoveredScreenshots(state.screenshots);
    model_.setLibraryResult(state.libraryResult);
    model_.setMediaMetadata(state.metadata);
    model_.metadataVersions_ = state.metadataVersions;
    model_.setStorageTree(state.storageTree);
}

void SectionSwitch::resume(Feature feature)
{
    if (model_.isMacScope()) {
        if (!(isAnalysis(feature) && model_.report())) model_.discoverMac();
    } else if (model_.files().isEmpty() && !model_.report()) {
        model_.navigate(model_.folder());
    } else {
        model_.readMetadataIfNeeded();
    }
    // Read again: what ran above may have replaced the report.
    if (const auto report = model_.report();
        feature == Feature::Storage && !model_.storageTree() && report)
        model_.prepareStorage(report->files, model_.storageRoot(), report->inaccessible);
}

void SectionSwitch::startFresh(Feature feature)
{
    model_.setMediaFilter(MediaFilter());
    model_.list_.query.clear();
    Q_EMIT model_.queryChanged();
    model_.setMode(feature == Feature::Recent ? BrowserMode::List : BrowserMode::Grid);
    model_.setSortByDate(feature == Feature::Timeline || feature == Feature::Recent);
    model_.setFiles({});
    model_.setLibraryResult(LibraryResult::empty());
    model_.setDiscoveredScreenshots({});
    model_.setStorageTree(nullptr);
    model_.discoverMac();
}
