#pragma once

#include <QKeySequence>
#include <QObject>
#include <functional>

class QAction;
class QMenu;
class QMenuBar;
class WorkspaceRouter;

// The window's menu commands. Each acts on the router's current model and is
// enabled only while that model can act on it.
class MenuCommands : public QObject {
    Q_OBJECT
public:
    MenuCommands(WorkspaceRouter& router, QMenuBar& menuBar);

private:
    QAction* add(QMenu* menu, const QString& title, const QKeySequence& shortcut,
                 std::function<void()> action);
    void follow();
    void updateEnabled();
    void updateUndo();

    WorkspaceRouter& router_;
    QList<QAction*> needFolder_;
    QAction* back_;
    QAction* forward_;
    QAction* undo_;
    QAction* redo_;
    QMetaObject::Connection scopeConnection_;
    QMetaObject::Connection historyConnection_;
};
