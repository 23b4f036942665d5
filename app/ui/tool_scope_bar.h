#pragma once

#include "ui/card_frame.h"
#include "ui/model_connections.h"

#include <QPointer>

class QLabel;
class QPushButton;
class SidebarIcon;
class Spinner;
class WorkspaceModel;

// Where an analysis looks (the whole computer or one folder) and the button
// that runs or stops it.
class ToolScopeBar : public CardFrame {
    Q_OBJECT
public:
    explicit ToolScopeBar(QWidget* parent = nullptr);
    void setModel(WorkspaceModel* model);
    // The run button's label.
    void setAction(const QString& action);

    QString title() const;
    QString subtitle() const;
    QPushButton* runButton() const { return run_; }
    QPushButton* cancelButton() const { return cancel_; }
    QPushButton* computerButton() const { return computer_; }
    QString message() const;
    // The "Stopped…" note with its symbol.
    QWidget* stoppedNote() const { return stopped_; }
    bool showsStopped() const;

private:
    void update();

    QPointer<WorkspaceModel> model_;
    ModelConnections connections_;
    SidebarIcon* icon_;
    QLabel* title_;
    QLabel* subtitle_;
    QPushButton* computer_;
    Spinner* spinner_;
    QPushButton* cancel_;
    QPushButton* run_;
    QWidget* notes_;
    QLabel* message_;
    QWidget* stopped_;
};
