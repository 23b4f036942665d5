#include "workspace/filter_pass.h"

#include "day_window.h"
#include "library_filtering.h"

FilterPass FilterPass::forSection(const SectionFilterState& state)
{
    const Feature feature = state.feature;
    FilterPass pass;
    pass.files = state.files;
    pass.minimumSize = feature == Feature::Large ? state.minimumFileSize : 0;
    pass.kind = mediaKindOf(feature);
    pass.screenshotsOnly = feature == Feature::Screenshots;
    pass.screenshots = state.screenshots;
    pass.query = state.query;
    if (isLibrary(feature)) {
        pass.filter = state.mediaFilter;
    } else {
        const bool newest =
            state.sortByDate || feature == Feature::Timeline || feature == Feature::Recent;
        pass.filter.sort = newest ? MediaFilter::Sort::Newest : MediaFilter::Sort::Name;
        if (feature == Feature::Recent) pass.filter.days = DayWindow::recentDays;
        if (feature == Feature::Timeline) pass.filter.days = state.timelineDays;
        if (isAnalysis(feature)) pass.filter.sort = MediaFilter::Sort::Largest;
    }
    pass.metadata = state.metadata;
    pass.filesOnly = feature != Feature::Explorer;
    pass.groupsByDay = feature == Feature::Timeline;
    return pass;
}

FilterOutput FilterPass::run(const CancelCheck& isCancelled) const
{
    QList<FileEntry> kept;
    if (minimumSize > 0) {
        kept.reserve(files.size());
        for (const FileEntry& file : files)
            if (file.size >= minimumSize) kept.append(file);
    }
    FilterOutput output;
    output.result =
        LibraryFiltering::evaluate(minimumSize > 0 ? kept : files, kind, screenshotsOnly,
                                   screenshots, query, filter, metadata, filesOnly, isCancelled);
    if (groupsByDay) output.timelineGroups = TimelineGroup::byDay(output.result.files);
    return output;
}
