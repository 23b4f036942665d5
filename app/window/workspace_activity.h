#pragma once

#include "ui/model_connections.h"

#include <QPointer>
#include <QWidget>

class QLabel;
class Spinner;
class WorkspaceModel;

// The small marker a sidebar row carries for its section: a spinner while the
// section works in the background, an orange mark while it has an error.
class WorkspaceActivity : public QWidget {
    Q_OBJECT
public:
    enum class State { Idle, Working, Failed };

    explicit WorkspaceActivity(QWidget* parent = nullptr);
    void setModel(WorkspaceModel* model);
    State state() const { return state_; }

    static State stateOf(const WorkspaceModel& model);

private:
    void update();

    QPointer<WorkspaceModel> model_;
    ModelConnections connections_;
    State state_ = State::Idle;
    Spinner* spinner_;
    QLabel* marker_;
};
