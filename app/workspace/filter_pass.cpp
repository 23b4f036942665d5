#include "workspace/filter_pass.h"

#include "day_window.h"
#include "library_filtering.h"

FilterPass FilterPass::forSection(const SectionFilterState& state)
{
    const Feature feature = state.feature;
    FilterPass pass;
    pass.scope.files = state.files;
    pass.scope.minimumSize = feature == Feature::Large ? state.minimumFileSize : 0;
    pass.scope.kind = mediaKindOf(feature);
    pass.scope.screenshotsOnly = feature == Feature::Screenshots;
    pass.scope.screenshots = state.screenshots;
    pass.scope.filesOnly = feature != Feature::Explorer;
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
    pass.groupsByDay = feature == Feature::Timeline;
    return pass;
}

FilterOutput FilterPass::run(const CancelCheck& isCancelled) const
{
    FilterOutput output;
    output.candidates =
        candidates ? candidates : std::make_shared<const LibraryCandidates>(scope, isCancelled);
    output.result =
        LibraryFiltering::evaluate(*output.candidates, query, filter, metadata, isCancelled);
    if (groupsByDay) output.timelineGroups = TimelineGroup::byDay(output.result.files);
    return output;
}
