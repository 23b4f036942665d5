#pragma once

#include <QObject>
#include <QPointer>
#include <QRect>
#include <functional>
#include <optional>

class DropHighlight;
class QDropEvent;
class QWidget;
class WorkspaceModel;

// Where a drop would land: the folder, and the part of the widget that stands for it.
struct DropSpot {
    QString folder;
    QRect area;
};

// Lets files be dropped on a widget: on the folder `spotAt` names under
// the pointer (nothing where a drop isn't taken), as a move or a copy the way
// FileDrop decides, queued by the model as a paste is. While a drag hovers,
// the spot it would land on is marked.
class FolderDropTarget : public QObject {
    Q_OBJECT
public:
    using SpotAt = std::function<std::optional<DropSpot>(const QPoint& at)>;
    using ModelOf = std::function<WorkspaceModel*()>;

    FolderDropTarget(QWidget* widget, ModelOf model, SpotAt spotAt);

    // The folder the drop of `event` would land in, with its action set; or
    // nothing (the event ignored) when it would not be taken there.
    std::optional<DropSpot> take(QDropEvent* event) const;
    DropHighlight* highlight() const { return highlight_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Takes `event` where it hovers and marks the spot; whether it is taken there.
    bool hover(QDropEvent* event) const;

    ModelOf model_;
    SpotAt spotAt_;
    DropHighlight* highlight_;
};
