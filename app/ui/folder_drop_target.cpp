#include "ui/folder_drop_target.h"

#include "ui/drop_highlight.h"
#include "workspace/file_drop.h"
#include "workspace/workspace_model.h"

#include <QDropEvent>
#include <QWidget>

FolderDropTarget::FolderDropTarget(QWidget* widget, ModelOf model, SpotAt spotAt)
    : QObject(widget), model_(std::move(model)), spotAt_(std::move(spotAt)),
      highlight_(new DropHighlight(widget))
{
    widget->setAcceptDrops(true);
    widget->installEventFilter(this);
}

std::optional<DropSpot> FolderDropTarget::take(QDropEvent* event) const
{
    const std::optional<FileDrop> drop = FileDrop::from(event->mimeData());
    const std::optional<DropSpot> spot =
        drop && model_() ? spotAt_(event->position().toPoint()) : std::nullopt;
    if (!spot || !drop->fitsInto(spot->folder)) {
        event->ignore();
        return std::nullopt;
    }
    const TransferKind kind = drop->kindInto(spot->folder, event->modifiers());
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
    return spot;
}

bool FolderDropTarget::hover(QDropEvent* event) const
{
    const std::optional<DropSpot> spot = take(event);
    highlight_->mark(spot ? spot->area : QRect());
    return spot.has_value();
}

bool FolderDropTarget::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::DragEnter: {
        // Taken as long as it carries files: where it may land is for the moves to say.
        auto* entering = static_cast<QDropEvent*>(event);
        if (!hover(entering) && FileDrop::from(entering->mimeData())) entering->accept();
        return true;
    }
    case QEvent::DragMove:
        hover(static_cast<QDropEvent*>(event));
        return true;
    case QEvent::DragLeave:
        highlight_->mark({});
        return true;
    case QEvent::Drop: {
        highlight_->mark({});
        auto* dropped = static_cast<QDropEvent*>(event);
        if (const std::optional<DropSpot> spot = take(dropped)) {
            const TransferKind kind =
                dropped->dropAction() == Qt::MoveAction ? TransferKind::Move : TransferKind::Copy;
            model_()->drop(*FileDrop::from(dropped->mimeData()), spot->folder, kind);
        }
        return true;
    }
    default:
        return QObject::eventFilter(watched, event);
    }
}
