#include "workspace/file_drop.h"

#include "native_path.h"
#include "workspace/file_url_mime.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <sys/stat.h>

namespace {

// Only an absolute file on this computer: a relative "file:name" would name
// a file of the window's working folder, another host's path is not ours.
bool isLocalFile(const QUrl& url)
{
    return url.scheme() == u"file" && (url.host().isEmpty() || url.host() == u"localhost") &&
           url.path().startsWith(u'/');
}

std::optional<dev_t> deviceOf(const QString& path)
{
    struct stat info;
    if (::lstat(nativePath(path).constData(), &info) != 0) return std::nullopt;
    return info.st_dev;
}

} // namespace

std::optional<FileDrop> FileDrop::from(const QMimeData* data)
{
    std::optional<QList<QUrl>> urls = fileUrlsFrom(data);
    if (!urls) return std::nullopt;
    return FileDrop(std::move(*urls), fileUrlsAreCut(data));
}

FileDrop::FileDrop(QList<QUrl> urls, bool markedCut) : urls_(std::move(urls)), markedCut_(markedCut)
{
}

QStringList FileDrop::localPaths() const
{
    QStringList paths;
    for (QUrl url : urls_) {
        if (!isLocalFile(url)) continue;
        url.setHost({}); // "localhost" is this computer, not a share of that name
        paths << QDir::cleanPath(pathForUrl(url));
    }
    return paths;
}

QStringList FileDrop::foreignUrls() const
{
    QStringList foreign;
    for (const QUrl& url : urls_)
        if (!isLocalFile(url)) foreign << url.toDisplayString();
    return foreign;
}

TransferKind FileDrop::kindInto(const QString& folder, Qt::KeyboardModifiers held) const
{
    if (held & Qt::ControlModifier) return TransferKind::Copy;
    if (held & Qt::ShiftModifier) return TransferKind::Move;
    if (markedCut_) return TransferKind::Move;
    const std::optional<dev_t> target = deviceOf(folder);
    const QStringList paths = localPaths();
    const bool together =
        target && std::all_of(paths.cbegin(), paths.cend(),
                              [&](const QString& p) { return deviceOf(p) == target; });
    return together ? TransferKind::Move : TransferKind::Copy;
}

bool FileDrop::fitsInto(const QString& folder) const
{
    const QString into = QDir::cleanPath(folder);
    const QStringList paths = localPaths();
    // Foreign URLs alone are taken, for the drop to say why nothing comes of them.
    if (paths.isEmpty()) return true;
    if (paths.contains(into)) return false;
    return !std::all_of(paths.cbegin(), paths.cend(),
                        [&](const QString& path) { return QFileInfo(path).path() == into; });
}
