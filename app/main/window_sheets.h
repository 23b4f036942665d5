#pragma once

#include "model_connections.h"

#include <QObject>
#include <QPointer>

class QWidget;
class WorkspaceModel;

// The dialogs that hang off the window, each shown while the current model's
// state asks for it and resetting that state when closed: naming sheets,
// extracted text, the error alert and the trash confirmation.
class WindowSheets : public QObject {
    Q_OBJECT
public:
    explicit WindowSheets(QWidget* window);
    void setModel(WorkspaceModel* model);

    // The confirmation's title for `count` selected items.
    static QString trashTitle(qsizetype count);

private:
    void update();
    void showNewFolder();
    void showRename();
    void showText();
    void showError();
    void confirmTrash();

    QWidget* window_;
    QPointer<WorkspaceModel> model_;
    ModelConnections connections_;
    QPointer<QWidget> open_[5];
};
