#pragma once

#include <functional>

class WorkspaceModel;

// Spins the event loop until `condition` holds; false after `timeoutMs`.
bool waitFor(const std::function<bool()>& condition, int timeoutMs = 10000);
// Until the model has no filtering pass, scan, summary or media read running.
bool waitUntilSettled(const WorkspaceModel& model, int timeoutMs = 20000);
