#pragma once

#include "sections/feature.h"
#include "workspace/feature_state.h"

#include <QHash>

class WorkspaceModel;

// Switches a model from section to section when no router does: the section
// left keeps its state, which comes back when it is shown again.
class SectionSwitch {
public:
    explicit SectionSwitch(WorkspaceModel& model) : model_(model) {}
    SectionSwitch(const SectionSwitch&) = delete;
    SectionSwitch& operator=(const SectionSwitch&) = delete;

    void activate(Feature feature);

private:
    FeatureState saved() const;
    // By value: the saved states are a hash that switching sections changes.
    void restore(FeatureState state);
    // Takes up the work a restored section was doing when it was left.
    void resume(Feature feature);
    // A section shown for the first time starts from its defaults.
    void startFresh(Feature feature);

    WorkspaceModel& model_;
    QHash<Feature, FeatureState> states_;
};
