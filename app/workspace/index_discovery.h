#pragma once

#include "library_discovering.h"

#include <memory>

class WorkspaceModel;

// Shows a model's section the files of its kind that the desktop's index
// holds, as the index gathers them.
class IndexDiscovery {
public:
    IndexDiscovery(WorkspaceModel& model, std::unique_ptr<LibraryDiscovering> discovery);
    IndexDiscovery(const IndexDiscovery&) = delete;
    IndexDiscovery& operator=(const IndexDiscovery&) = delete;

    // Ends the model's other work on its list and asks the index afresh.
    void start();
    void stop() { discovery_->stop(); }

private:
    // While the index still gathers, `keepList` keeps the list shown before.
    void receive(const LibrarySnapshot& snapshot, bool keepList);

    WorkspaceModel& model_;
    std::unique_ptr<LibraryDiscovering> discovery_;
};
