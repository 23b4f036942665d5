#pragma once

#include "private_settings.h"
#include "transfer_engine.h"
#include "workspace/scripted_discovery.h"
#include "workspace/workspace_model.h"
#include "workspace/workspace_router.h"
#include "workspace/workspace_wait.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

// A router whose sections discover through a scripted provider, and user
// defaults in a private folder.
class WindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        QCoreApplication::setOrganizationName(QStringLiteral("QuorvaneTest"));
        QCoreApplication::setApplicationName(QStringLiteral("QuorvaneTest"));
        log = std::make_shared<ScriptedDiscovery::Log>();
        router = std::make_unique<WorkspaceRouter>(
            [log = log] { return std::make_unique<ScriptedDiscovery>(log); }, copyEngine);
    }
    void TearDown() override
    {
        router->stopAllWork();
        router.reset();
    }

    // Opens the temporary folder in the Explorer and waits until its `count` entries are listed.
    WorkspaceModel& openFiles(qsizetype count)
    {
        router->openLocation(files.path());
        WorkspaceModel& model = router->current();
        EXPECT_TRUE(waitFor([&] { return model.files().size() == count; }));
        EXPECT_TRUE(waitUntilSettled(model));
        return model;
    }

    // The section's model looking at `folder`, after its listing and, for the
    // analysis tools, its scan have finished.
    WorkspaceModel& scanned(Feature feature, const QString& folder)
    {
        router->activate(feature);
        WorkspaceModel& model = router->current();
        model.navigate(folder);
        EXPECT_TRUE(waitUntilSettled(model));
        if (!isAnalysis(feature)) return model;
        model.scan();
        EXPECT_TRUE(waitFor([&] { return model.report().has_value() && !model.busy(); }));
        EXPECT_TRUE(waitUntilSettled(model));
        return model;
    }

    PrivateSettings settings;
    QTemporaryDir files;
    std::shared_ptr<ScriptedDiscovery::Log> log;
    // Set before SetUp to copy with an engine of the test's own.
    std::shared_ptr<TransferEngine> copyEngine;
    std::unique_ptr<WorkspaceRouter> router;
};
