#pragma once

#include <QMainWindow>

class ContentView;
class WorkspaceRouter;

// The single window: the content view and the menu commands; the queue
// shows on the desktop's launcher and says when it is done.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    static constexpr QSize defaultSize{1280, 800};
    static constexpr QSize minimumContentSize{900, 580};

    explicit MainWindow(WorkspaceRouter& router, QWidget* parent = nullptr);
    ContentView* content() const { return content_; }

private:
    ContentView* content_;
};
