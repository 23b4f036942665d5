#include "workspace/index_discovery.h"

#include "workspace/activity_text.h"
#include "workspace/workspace_model.h"

#include <QPointer>

IndexDiscovery::IndexDiscovery(WorkspaceModel& model, std::unique_ptr<LibraryDiscovering> discovery)
    : model_(model), discovery_(std::move(discovery))
{
}

void IndexDiscovery::start()
{
    const MediaKind kind = mediaKindOf(model_.feature_).value_or(MediaKind::Other);
    model_.folders_.cancel();
    model_.jobs_.cancelScan();
    model_.jobs_.cancelSummary();
    model_.metadataTask_.cancel();
    const bool keepList = model_.isMacScope() && !model_.list_.files.isEmpty();
    if (!model_.isMacScope()) model_.folders_.leave(model_.folder());
    model_.folders_.stopFollowing();

    model_.setLibraryScope(LibraryScope::Mac);
    model_.setLibraryMessage(std::nullopt);
    model_.setReadingMetadata(false);
    model_.setSelection({});
    model_.setPreviewFile(std::nullopt);
    model_.setReport(std::nullopt);
    model_.setDuplicateGroups({});
    model_.setStorageTree(nullptr);

    if (model_.feature_ == Feature::Transfers) {
        model_.setActivity(false, model_.operation_);
        model_.setFiles({});
        model_.scheduleLibraryFiltering(false);
        return;
    }
    model_.setActivity(true, ActivityText::discovering());
    discovery_->start(kind, model_.feature_ == Feature::Screenshots,
                      [this, alive = QPointer<WorkspaceModel>(&model_),
                       keepList](const LibrarySnapshot& snapshot) {
                          if (alive) receive(snapshot, keepList);
                      });
}

void IndexDiscovery::receive(const LibrarySnapshot& snapshot, bool keepList)
{
    if (!model_.isMacScope()) return;
    const bool hasMessage = snapshot.message.has_value();
    if (!(keepList && snapshot.gathering) && !hasMessage) {
        model_.setFiles(snapshot.files);
        model_.setDiscoveredScreenshots(snapshot.screenshots);
    }
    model_.setActivity(snapshot.gathering,
                       snapshot.gathering ? ActivityText::discovering() : ActivityText::ready());
    model_.setLibraryMessage(snapshot.message);
    if (snapshot.gathering) return;
    if (!hasMessage) model_.setSelection(model_.list_.selectionWithin(snapshot.files));
    model_.readMetadataIfNeeded();
    if ((model_.feature_ == Feature::Storage || model_.feature_ == Feature::Large) && !hasMessage)
        model_.prepareStorage(model_.list_.files, QStringLiteral("/"), 0);
}
