#include "workspace/workspace_fixture.h"

#include "transfer_service.h"

WorkspaceFixture::WorkspaceFixture(std::shared_ptr<TransferEngine> copies)
    : store(copies ? std::move(copies) : std::make_shared<TransferService>())
{
}

WorkspaceFixture::WorkspaceFixture(Feature feature, std::shared_ptr<TransferEngine> copies)
    : WorkspaceFixture(std::move(copies))
{
    makeModel(feature);
}

WorkspaceModel& WorkspaceFixture::makeModel(Feature feature)
{
    model.reset(); // one discovery at a time reports to `log`
    model =
        std::make_unique<WorkspaceModel>(std::make_unique<ScriptedDiscovery>(log), feature, &store);
    return *model;
}
