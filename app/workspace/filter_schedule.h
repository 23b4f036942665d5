#pragma once

#include "workspace/filter_pass.h"
#include "workspace/task_slot.h"

#include <QObject>

class QThreadPool;

// Runs the filtering passes of one section model: a newer schedule always
// replaces the pass before it, and a replaced pass never publishes.
class FilterSchedule : public QObject {
    Q_OBJECT
public:
    static constexpr int debounceMs = 80;

    explicit FilterSchedule(QObject* parent = nullptr);

    // Starts a pass over `pass` after the debounce delay, or at once.
    void schedule(FilterPass pass, bool debounce);
    // Cancels the running pass; nothing of it is published.
    void cancel() { task_.cancel(); }
    // Lets go of the files the last pass searched, so that the owner's list
    // can grow in place; the next pass gathers again.
    void releaseFiles() { candidates_.reset(); }
    bool isRunning() const { return task_.isRunning(); }

Q_SIGNALS:
    void published(const FilterOutput& output);
    // A pass ended without a result although nobody replaced it.
    void abandoned();

private:
    void launch(FilterPass pass, TaskSlot::Ticket ticket);

    TaskSlot task_;
    std::shared_ptr<const LibraryCandidates> candidates_; // of the last finished pass
};

// The pool that filtering passes run on, above normal priority so typing stays quick.
QThreadPool* filterPool();
