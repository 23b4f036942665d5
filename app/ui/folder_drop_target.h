#pragma once

#include <QObject>
#include <QPointer>
#include <functional>
#include <optional>

class QDropEvent;
class QWidget;
class WorkspaceModel;

// Lets files be dropped on a widget: on the folder `folderAt` names under
// the pointer (nothing where a drop isn't taken), as a move or a copy the way
// FileDrop decides, queued by the model as a paste is.
class FolderDropTarget : public QObject {
    Q_OBJECT
public:
    using FolderAt = std::function<std::optional<QString>(const QPoint& at)>;
    using ModelOf = std::function<WorkspaceModel*()>;

    FolderDropTarget(QWidget* widget, ModelOf model, FolderAt folderAt);

    // The folder the drop of `event` would land in, with its action set; or
    // nothing (the event ignored) when it would not be taken there.
    std::optional<QString> take(QDropEvent* event) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    ModelOf model_;
    FolderAt folderAt_;
};
