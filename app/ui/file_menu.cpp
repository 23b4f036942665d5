#include "file_menu.h"

#include "native_path.h"
#include "workspace_model.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDesktopServices>
#include <QFileInfo>
#include <QMenu>
#include <QUrl>
#include <QUuid>

void fillFileMenu(QMenu& menu, WorkspaceModel& model, const FileEntry& file)
{
    QPointer<WorkspaceModel> target(&model);
    const auto only = [target, file] {
        if (target) target->setSelection({file.path});
        return target.data();
    };
    menu.addAction(QStringLiteral("Open"), &menu, [target, file] {
        if (target) target->open(file);
    });
    menu.addAction(QStringLiteral("Preview in Quorvane"), &menu, [only] {
        if (WorkspaceModel* model = only()) model->preview();
    });
    menu.addAction(QStringLiteral("Show in File Manager"), &menu,
                   [path = file.path] { revealInFileManager(path); });
    menu.addSeparator();
    menu.addAction(QStringLiteral("Rename\u2026"), &menu, [target, file] {
        if (target) target->setRenameTarget(file);
    });
    menu.addAction(QStringLiteral("Copy"), &menu, [only] {
        if (WorkspaceModel* model = only()) model->copySelection();
    });
    menu.addSeparator();
    QAction* trash = menu.addAction(QStringLiteral("Move to Trash\u2026"), &menu, [only] {
        if (WorkspaceModel* model = only()) model->setConfirmTrash(true);
    });
    trash->setProperty("destructive", true);
}

void revealInFileManager(const QString& path)
{
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.FileManager1"),
        QStringLiteral("/org/freedesktop/FileManager1"),
        QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("ShowItems"));
    call << QStringList{urlForPath(path).toString()}
         << QUuid::createUuid().toString(QUuid::WithoutBraces);
    const QDBusMessage reply = QDBusConnection::sessionBus().call(call, QDBus::Block, 3000);
    if (reply.type() == QDBusMessage::ReplyMessage) return;
    QDesktopServices::openUrl(urlForPath(QFileInfo(path).absolutePath()));
}
