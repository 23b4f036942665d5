#pragma once

#include "model_connections.h"

#include <QPointer>
#include <QWidget>

class QLabel;
class QPushButton;
class SidebarIcon;
class Spinner;
class WorkspaceModel;

// Where the section looks (the whole computer or one folder) and the button
// that runs its work again, or stops it while it runs.
class ScopeBar : public QWidget {
    Q_OBJECT
public:
    explicit ScopeBar(const QString& action, QWidget* parent = nullptr);
    ~ScopeBar() override;
    void setModel(WorkspaceModel* model);

    QString title() const;
    QString detail() const;
    QPushButton* computerButton() const { return computer_; }
    QPushButton* cancelButton() const { return cancel_; }
    QPushButton* runButton() const { return run_; }
    // Whether the note about a stopped run is shown.
    bool showsStopped() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void update();

    QPointer<WorkspaceModel> model_;
    ModelConnections connections_;
    SidebarIcon* icon_;
    QLabel* title_;
    QLabel* detail_;
    QPushButton* computer_;
    Spinner* spinner_;
    QPushButton* cancel_;
    QPushButton* run_;
    QWidget* notes_;
    QLabel* message_;
    QWidget* stopped_;
};
