#include "workspace/file_url_mime.h"

#include <QMimeData>

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
