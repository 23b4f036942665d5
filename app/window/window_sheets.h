#pragma once

#include "file_entry.h"
#include "ui/model_connections.h"

#include <QObject>
#include <QPointer>

class QMessageBox;
class QWidget;
class WorkspaceModel;

// The dialogs that hang off the window, each shown while the current model's
// state asks for it and resetting that state when closed: naming sheets,
// extracted text, the error alert and the trash confirmation (asked twice
// before the last copy of a duplicate group goes), and the question a copy
// waits on when a name it needs is taken.
class WindowSheets : public QObject {
    Q_OBJECT
public:
    explicit WindowSheets(QWidget* window);
    void setModel(WorkspaceModel* model);

    // The confirmation's title for `count` selected items.
    static QString trashTitle(qsizetype count);
    // The second question when trashing would leave a duplicate group with no copy.
    static constexpr const char* lastCopyTitle = QT_TR_NOOP("Move the last copy to Trash?");

private:
    void update();
    void showPalette();
    void showNewFolder();
    void showRename();
    void showText();
    void showError();
    void confirmTrash();
    void confirmLastCopies(const QList<FileEntry>& copies);
    void askConflict();
    QMessageBox* trashQuestion(const QString& title, const QString& detail);

    QWidget* window_;
    QPointer<WorkspaceModel> model_;
    ModelConnections connections_;
    QPointer<QWidget> open_[8];
};
