#pragma once

#include "library_discovering.h"
#include "sections/feature.h"
#include "workspace/workspace_platform.h"

#include <QObject>
#include <QPointer>
#include <functional>
#include <map>
#include <memory>
#include <optional>

class TransferEngine;
class TransferStore;
class WorkspaceModel;

// One model per section, made on first visit and kept for the whole run, and
// the one transfer queue they share. Switching sections reloads nothing.
class WorkspaceRouter : public QObject {
    Q_OBJECT
public:
    using DiscoveryFactory = std::function<std::unique_ptr<LibraryDiscovering>()>;

    // Without a factory every model queries the desktop's file index; without
    // an engine the queue copies with the real one.
    explicit WorkspaceRouter(DiscoveryFactory discoveryFactory = {},
                             std::shared_ptr<TransferEngine> copyEngine = nullptr,
                             QObject* parent = nullptr);
    ~WorkspaceRouter() override;

    WorkspaceModel& current() const { return *current_; }
    TransferStore& transferStore() const { return *transferStore_; }
    // The model of `feature` if it was ever shown.
    WorkspaceModel* session(Feature feature) const;

    // Given to every model, present and future.
    void setPlatform(const WorkspacePlatform& platform);

    void activate(Feature feature);
    void openLocation(const QString& folder);
    // Cancels scans of every section and every queued or running copy.
    void stopAllWork();

Q_SIGNALS:
    void currentChanged();

private:
    WorkspaceModel* makeModel(Feature feature);

    std::unique_ptr<TransferStore> transferStore_;
    DiscoveryFactory discoveryFactory_;
    WorkspacePlatform platform_ = WorkspacePlatform::headless();
    std::map<Feature, std::unique_ptr<WorkspaceModel>> sessions_;
    WorkspaceModel* current_ = nullptr;
};
