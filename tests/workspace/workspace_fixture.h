#pragma once

#include "private_settings.h"
#include "transfer_store.h"
#include "workspace/scripted_discovery.h"
#include "workspace/workspace_model.h"
#include "workspace/workspace_wait.h"

#include <memory>

// A section model the way the window's router makes one: discovery scripted
// by the test through `log`, a transfer queue of its own and private settings.
class WorkspaceFixture {
public:
    // `copies` stands in for real copies in the queue, when given.
    explicit WorkspaceFixture(std::shared_ptr<TransferEngine> copies = {});
    explicit WorkspaceFixture(Feature feature, std::shared_ptr<TransferEngine> copies = {});
    WorkspaceFixture(const WorkspaceFixture&) = delete;
    WorkspaceFixture& operator=(const WorkspaceFixture&) = delete;

    // Replaces the model with a new one for `feature`.
    WorkspaceModel& makeModel(Feature feature);

    WorkspaceModel& operator*() { return *model; }
    WorkspaceModel* operator->() { return model.get(); }

    PrivateSettings settings;
    std::shared_ptr<ScriptedDiscovery::Log> log = std::make_shared<ScriptedDiscovery::Log>();
    TransferStore store;
    std::unique_ptr<WorkspaceModel> model;
};
