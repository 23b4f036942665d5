#pragma once

#include <QMainWindow>

class QLabel;
class QListWidget;
class WorkspaceModel;
class WorkspaceRouter;

// The single window: the sections on the left, the current one on the right.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    static constexpr QSize defaultSize{1280, 800};
    static constexpr QSize minimumContentSize{900, 580};

    explicit MainWindow(WorkspaceRouter& router, QWidget* parent = nullptr);

private:
    void showModel(WorkspaceModel& model);
    void updateHeader();
    void updateActivity();

    WorkspaceRouter& router_;
    QListWidget* sections_;
    QLabel* title_;
    QLabel* subtitle_;
    QLabel* activity_;
    QMetaObject::Connection modelConnections_[3];
};
