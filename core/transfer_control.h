#pragma once

#include "name_conflict.h"

#include <condition_variable>
#include <mutex>
#include <optional>

// What the queue's thread tells the one running copy on the engine's thread:
// stop, hold still, go on, and the answer to a name it met. A paused copy
// waits at its next check (between chunks), its temporary item still locked.
class TransferControl {
public:
    void cancel();
    void pause();
    void resume();
    bool isPaused() const;
    bool isCancelled() const;

    // On the engine's thread: waits while paused, then says whether to stop.
    bool checkpoint();

    // On the engine's thread: waits for `answer`; none when cancelled first.
    std::optional<ConflictChoice> waitForAnswer();
    void answer(ConflictChoice choice);

private:
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    bool cancelled_ = false;
    bool paused_ = false;
    std::optional<ConflictChoice> answer_;
};
