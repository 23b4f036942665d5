#pragma once

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
    void update();

    QPointer<WorkspaceModel> model_;
    QList<QMetaObject::Connection> connections_;
    QLabel* dot_;
    QLabel* activity_;
    QLabel* count_;
    QLabel* space_;
};
