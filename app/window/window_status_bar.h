#pragma once

#include "ui/model_connections.h"

#include <QPointer>
#include <QWidget>

class QLabel;
class WorkspaceModel;

// "Ready" or the running operation, the selection or item count, and the
// free space of the folder's volume.
class WindowStatusBar : public QWidget {
    Q_OBJECT
public:
    explicit WindowStatusBar(QWidget* parent = nullptr);
    void setModel(WorkspaceModel* model);
    QString activityText() const;
    QString countText() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void updateActivity();
    void updateVisibleCount();
    void updateCount();
    void updateSpace();

    QPointer<WorkspaceModel> model_;
    ModelConnections connections_;
    qsizetype visibleCount_ = 0;
    QLabel* dot_;
    QLabel* activity_;
    QLabel* count_;
    QLabel* space_;
};
