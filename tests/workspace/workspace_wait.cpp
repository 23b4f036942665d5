#include "workspace/workspace_wait.h"

#include "workspace/workspace_model.h"

#include <QTest>

bool waitFor(const std::function<bool()>& condition, int timeoutMs)
{
    return QTest::qWaitFor(condition, timeoutMs);
}

bool waitUntilSettled(const WorkspaceModel& model, int timeoutMs)
{
    return waitFor(
        [&] { return !model.isFiltering() && !model.busy() && !model.readingMetadata(); },
        timeoutMs);
}
