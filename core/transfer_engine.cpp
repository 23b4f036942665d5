#include "transfer_engine.h"

#include "path_names.h"

#include <QFileInfo>

QFuture<TransferOutcome> TransferEngine::transfer(const Request& request, Handlers handlers)
{
    if (request.kind != TransferKind::Copy)
        return QtFuture::makeExceptionalFuture<TransferOutcome>(
            FileError(FileError::Code::FileWriteUnknown, request.source));
    PlacedItem placed;
    placed.from = request.source;
    placed.to = childPath(request.destination, QFileInfo(request.source).fileName());
    return start(request.source, request.destination, std::move(handlers.progress),
                 std::move(handlers.isCancelled))
        .then([placed] {
            return TransferOutcome{{placed}, {}};
        });
}
