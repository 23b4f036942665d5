#include "window/desktop_platform.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QMimeData>
#include <QPointer>

namespace {
const QString gnomeFiles = QStringLiteral("x-special/gnome-copied-files");
}

QMimeData* fileUrlsMimeData(const QList<QUrl>& urls, bool cut)
{
    auto* data = new QMimeData;
    data->setUrls(urls);
    // GNOME-style file managers paste only what they find under this type,
    // and move what it marks as cut.
    QByteArray gnome(cut ? "cut" : "copy");
    for (const QUrl& url : urls)
        gnome += '\n' + url.toEncoded();
    data->setData(gnomeFiles, gnome);
    return data;
}

std::optional<QList<QUrl>> fileUrlsFrom(const QMimeData* data)
{
    if (!data) return std::nullopt;
    QList<QUrl> urls = data->urls();
    if (urls.isEmpty() && data->hasFormat(gnomeFiles)) {
        const QList<QByteArray> lines = data->data(gnomeFiles).split('\n');
        for (qsizetype i = 1; i < lines.size(); ++i)
            if (!lines[i].isEmpty()) urls << QUrl::fromEncoded(lines[i]);
    }
    // Which of them can be pasted is the workspace's to say, to the user.
    if (urls.isEmpty()) return std::nullopt;
    return urls;
}

bool fileUrlsAreCut(const QMimeData* data)
{
    return data && data->data(gnomeFiles).split('\n').constFirst().trimmed() == "cut";
}

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
        QFileDialog dialog(owner, prompt, QDir::homePath());
        dialog.setFileMode(QFileDialog::ExistingFiles);
        dialog.setLabelText(QFileDialog::Accept, prompt);
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
