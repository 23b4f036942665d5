#include "ui/file_menu.h"

#include "native_path.h"
#include "ui/desktop_applications.h"
#include "workspace/workspace_model.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDesktopServices>
#include <QFileInfo>
#include <QMenu>
#include <QUrl>
#include <QUuid>

namespace {

// The menu's texts are one context for translators.
struct FileMenu {
    Q_DECLARE_TR_FUNCTIONS(FileMenu)
};

} // namespace

void fillFileMenu(QMenu& menu, WorkspaceModel& model, const FileEntry& file, bool offerTrash)
{
    QPointer<WorkspaceModel> target(&model);
    const auto only = [target, file] {
        if (target) target->setSelection({file.path});
        return target.data();
    };
    menu.addAction(FileMenu::tr("Open"), &menu, [target, file] {
        if (target) target->open(file);
    });
    QMenu* openWith = menu.addMenu(FileMenu::tr("Open With"));
    // Looked up when shown: the desktop's associations can change while Quorvane runs.
    QObject::connect(openWith, &QMenu::aboutToShow, openWith, [openWith, target, file] {
        if (target) fillOpenWithMenu(*openWith, *target, file);
    });
    menu.addAction(FileMenu::tr("Preview in Quorvane"), &menu, [only] {
        if (WorkspaceModel* model = only()) model->preview();
    });
    menu.addAction(FileMenu::tr("Show in File Manager"), &menu,
                   [path = file.path] { revealInFileManager(path); });
    menu.addSeparator();
    menu.addAction(FileMenu::tr("Rename\u2026"), &menu, [target, file] {
        if (target) target->setRenameTarget(file);
    });
    menu.addAction(FileMenu::tr("Cut"), &menu, [only] {
        if (WorkspaceModel* model = only()) model->cutSelection();
    });
    menu.addAction(FileMenu::tr("Copy"), &menu, [only] {
        if (WorkspaceModel* model = only()) model->copySelection();
    });
    if (!offerTrash) return;
    menu.addSeparator();
    QAction* trash = menu.addAction(FileMenu::tr("Move to Trash\u2026"), &menu, [only] {
        if (WorkspaceModel* model = only()) model->setConfirmTrash(true);
    });
    trash->setProperty("destructive", true);
}

void fillOpenWithMenu(QMenu& menu, WorkspaceModel& model, const FileEntry& file)
{
    menu.clear();
    const QString type = DesktopApplications::mimeTypeOf(file.path);
    const QList<DesktopApplication> applications = DesktopApplications::allFor(type);
    const std::optional<DesktopApplication> preferred = DesktopApplications::defaultFor(type);
    if (applications.isEmpty()) {
        menu.addAction(FileMenu::tr("No Applications"))->setEnabled(false);
        return;
    }
    QPointer<WorkspaceModel> target(&model);
    for (const DesktopApplication& application : applications) {
        const QIcon icon = QFileInfo(application.icon).isAbsolute()
                               ? QIcon(application.icon)
                               : QIcon::fromTheme(application.icon);
        QAction* item = menu.addAction(
            icon, application.name, &menu, [target, id = application.id, path = file.path] {
                const std::optional<QString> failure = DesktopApplications::launch(id, {path});
                if (failure && target) target->setError(*failure);
            });
        item->setData(application.id);
        if (preferred && application == *preferred) {
            QFont bold = item->font();
            bold.setBold(true);
            item->setFont(bold);
            menu.addSeparator();
        }
    }
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
