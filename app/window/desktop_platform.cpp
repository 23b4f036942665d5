#include "window/desktop_platform.h"

#include "window/items_dialog.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QPointer>

WorkspacePlatform desktopPlatform(QWidget* parent)
{
    QPointer<QWidget> owner(parent);
    WorkspacePlatform platform;
    platform.chooseFolder = [owner](const QString& prompt,
                                    const QString& message) -> std::optional<QString> {
        QFileDialog dialog(owner, message.isEmpty() ? prompt : message, QDir::homePath());
        dialog.setFileMode(QFileDialog::Directory);
        dialog.setOption(QFileDialog::ShowDirsOnly);
        dialog.setLabelText(QFileDialog::Accept, prompt);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return std::nullopt;
        return dialog.selectedFiles().constFirst();
    };
    platform.chooseItems = [owner](const QString& prompt) {
        ItemsDialog dialog(owner, prompt, QDir::homePath());
        return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles() : QStringList();
    };
    platform.modifiers = [] { return QGuiApplication::queryKeyboardModifiers(); };
    platform.writeClipboard = [](const QList<QUrl>& urls) {
        QGuiApplication::clipboard()->clear();
        if (!urls.isEmpty()) QGuiApplication::clipboard()->setMimeData(fileUrlsMimeData(urls));
    };
    platform.readClipboard = [] { return fileUrlsFrom(QGuiApplication::clipboard()->mimeData()); };
    platform.cutToClipboard = [](const QList<QUrl>& urls) {
        QGuiApplication::clipboard()->clear();
        if (!urls.isEmpty())
            QGuiApplication::clipboard()->setMimeData(fileUrlsMimeData(urls, true));
    };
    platform.clipboardIsCut = [] {
        return fileUrlsAreCut(QGuiApplication::clipboard()->mimeData());
    };
    return platform;
}
