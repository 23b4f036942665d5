#include "ui/folder_drop_target.h"

#include "workspace/file_drop.h"
#include "workspace/workspace_model.h"

#include <QDropEvent>
#include <QWidget>

FolderDropTarget::FolderDropTarget(QWidget* widget, ModelOf model, FolderAt folderAt)
    : QObject(widget), model_(std::move(model)), folderAt_(std::move(folderAt))
{
    widget->setAcceptDrops(true);
    widget->installEventFilter(this);
}

std::optional<QString> FolderDropTarget::take(QDropEvent* event) const
{
    const std::optional<FileDrop> drop = FileDrop::from(event->mimeData());
    const std::optional<QString> folder =
        drop && model_() ? folderAt_(event->position().toPoint()) : std::nullopt;
    if (!folder || !drop->fitsInto(*folder)) {
        event->ignore();
        return std::nullopt;
    }
    const TransferKind kind = drop->kindInto(*folder, event->modifiers());
    Qt::DropAction action = kind == TransferKind::Move ? Qt::MoveAction : Qt::CopyAction;
    // A source that offers only the other one gets that.
    if (!(event->possibleActions() & action))
        action = action == Qt::MoveAction ? Qt::CopyAction : Qt::MoveAction;
    if (!(event->possibleActions() & action)) {
        event->ignore();
        return std::nullopt;
    }
    event->setDropAction(action);
    event->accept();
    return folder;
}

bool FolderDropTarget::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::DragEnter: {
        // Taken as long as it carries files: where it may land is for the moves to say.
        auto* entering = static_cast<QDropEvent*>(event);
        if (!take(entering) && FileDrop::from(entering->mimeData())) entering->accept();
        return true;
    }
    case QEvent::DragMove:
        take(static_cast<QDropEvent*>(event));
        return true;
    case QEvent::DragLeave:
        return true;
    case QEvent::Drop: {
        auto* dropped = static_cast<QDropEvent*>(event);
        if (const std::optional<QString> folder = take(dropped)) {
            const TransferKind kind =
                dropped->dropAction() == Qt::MoveAction ? TransferKind::Move : TransferKind::Copy;
            model_()->drop(*FileDrop::from(dropped->mimeData()), *folder, kind);
        }
        return true;
    }
    default:
        return QObject::eventFilter(watched, event);
    }
}
