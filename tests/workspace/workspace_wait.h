#pragma once

#include "event_loop.h"

class WorkspaceModel;

// Until the model has no listing, filtering pass, scan, summary or media read running.
bool waitUntilSettled(const WorkspaceModel& model, int timeoutMs = 20000);
// Until every filtering pass and scan any model started, current or stale, has
// ended and what it queued for this thread has been delivered.
bool waitForBackgroundWork(int timeoutMs = 60000);
// The same, after the jobs `model` gave its file service (listings, scans, changes).
bool waitForBackgroundWork(WorkspaceModel& model, int timeoutMs = 60000);
