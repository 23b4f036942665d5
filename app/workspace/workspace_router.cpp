#include "workspace/workspace_router.h"

#include "tracker_library_discovery.h"
#include "transfer_store.h"
#include "workspace/workspace_model.h"

WorkspaceRouter::WorkspaceRouter(DiscoveryFactory discoveryFactory,
                                 std::shared_ptr<TransferEngine> copyEngine, QObject* parent)
    : QObject(parent), transferStore_(copyEngine ? std::make_unique<TransferStore>(copyEngine)
                                                 : std::make_unique<TransferStore>()),
      discoveryFactory_(std::move(discoveryFactory))
{
    if (!discoveryFactory_)
        discoveryFactory_ = [] { return std::make_unique<TrackerLibraryDiscovery>(); };
    current_ = makeModel(Feature::Explorer);
}

// Models go before the queue they mirror.
WorkspaceRouter::~WorkspaceRouter()
{
    sessions_.clear();
}

WorkspaceModel* WorkspaceRouter::makeModel(Feature feature)
{
    auto model =
        std::make_unique<WorkspaceModel>(discoveryFactory_(), feature, transferStore_.get());
    QPointer<WorkspaceRouter> self(this);
    model->setOnActivate([self](Feature requested) {
        if (self) self->activate(requested);
    });
    model->setPlatform(platform_);
    WorkspaceModel* made = model.get();
    sessions_[feature] = std::move(model);
    return made;
}

void WorkspaceRouter::setPlatform(const WorkspacePlatform& platform)
{
    platform_ = platform;
    for (const auto& [feature, model] : sessions_)
        model->setPlatform(platform);
}

WorkspaceModel* WorkspaceRouter::session(Feature feature) const
{
    const auto found = sessions_.find(feature);
    return found == sessions_.end() ? nullptr : found->second.get();
}

void WorkspaceRouter::activate(Feature feature)
{
    WorkspaceModel* model = session(feature);
    if (!model) model = makeModel(feature);
    if (model == current_) return;
    current_ = model;
    Q_EMIT currentChanged();
}

void WorkspaceRouter::openLocation(const QString& folder)
{
    activate(Feature::Explorer);
    current_->navigate(folder);
}

void WorkspaceRouter::stopAllWork()
{
    for (const auto& [feature, model] : sessions_)
        model->cancelScan();
    // Each cancel replaces the list: pick the jobs first.
    QList<QUuid> running;
    for (const TransferItem& item : transferStore_->items())
        if (item.status == TransferStatus::Queued || item.status == TransferStatus::Copying)
            running << item.id;
    for (const QUuid& id : std::as_const(running))
        transferStore_->cancel(id);
}
