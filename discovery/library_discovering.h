#pragma once

#include "library_snapshot.h"
#include "media_kind.h"

#include <functional>

// A live query of the file index for one section. All calls and every
// snapshot happen on the GUI thread.
class LibraryDiscovering {
public:
    using Receiver = std::function<void(const LibrarySnapshot&)>;

    virtual ~LibraryDiscovering() = default;
    // Replaces any earlier run; `receive` gets every snapshot of this run.
    virtual void start(MediaKind kind, bool screenshotsOnly, Receiver receive) = 0;
    // Ends the run; no snapshot follows.
    virtual void stop() = 0;
};
