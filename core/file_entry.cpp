#include "file_entry.h"

#include "file_error.h"

#include <QHash>
#include <QMimeDatabase>
#include <QMutex>
#include <cerrno>
#include <sys/stat.h>

namespace {

// The extension of `name` (after the last dot, not a leading one), as a view.
QStringView extensionView(QStringView name)
{
    const qsizetype dot = name.lastIndexOf(u'.');
    if (dot <= 0 || dot == name.size() - 1) return {};
    return name.mid(dot + 1);
}

bool conformsTo(const QMimeType& type, QStringView prefix, QStringView exact = {})
{
    auto matches = [&](const QString& name) {
        return exact.isEmpty() ? name.startsWith(prefix) : name == exact;
    };
    if (matches(type.name())) return true;
    const QStringList ancestors = type.allAncestors();
    return std::any_of(ancestors.begin(), ancestors.end(), matches);
}

std::optional<MediaKind> kindFromRegistry(const QString& ext)
{
    if (ext.isEmpty()) return std::nullopt;
    static const QMimeDatabase database;
    const QMimeType type =
        database.mimeTypeForFile(QStringLiteral("x.") + ext, QMimeDatabase::MatchExtension);
    if (!type.isValid() || type.isDefault()) return std::nullopt;
    if (conformsTo(type, u"image/")) return MediaKind::Image;
    if (conformsTo(type, u"video/")) return MediaKind::Video;
    if (conformsTo(type, u"audio/")) return MediaKind::Audio;
    if (conformsTo(type, {}, u"text/plain")) return MediaKind::Document;
    if (conformsTo(type, {}, u"application/pdf")) return MediaKind::Document;
    return std::nullopt;
}

MediaKind kindFromTable(const QString& ext)
{
    struct Row {
        MediaKind kind;
        std::initializer_list<const char*> extensions;
    };
    static const Row table[] = {
        {MediaKind::Image,
         {"jpg", "jpeg", "png", "heic", "heif", "gif", "tif", "tiff", "webp", "bmp", "avif", "dng",
          "raw", "cr2", "nef"}},
        {MediaKind::Video, {"mp4", "mov", "m4v", "avi", "mkv", "webm", "mpeg", "mpg", "mts"}},
        {MediaKind::Audio, {"mp3", "m4a", "wav", "aiff", "aif", "flac", "aac", "ogg"}},
        {MediaKind::Document,
         {"pdf", "txt", "md", "rtf", "doc", "docx", "pages", "csv", "xlsx", "xls", "ppt", "pptx",
          "key", "numbers"}},
    };
    for (const Row& row : table)
        for (const char* candidate : row.extensions)
            if (ext == QLatin1StringView(candidate)) return row.kind;
    return MediaKind::Other;
}

MediaKind classifyUncached(const QString& ext)
{
    if (auto kind = kindFromRegistry(ext)) return *kind;
    return kindFromTable(ext);
}

QDateTime dateFromTimespec(const struct timespec& ts)
{
    const qint64 ms = qint64(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
    return QDateTime::fromMSecsSinceEpoch(ms, Qt::UTC);
}

QString lastComponent(const QString& path)
{
    const qsizetype slash = path.lastIndexOf(u'/');
    if (slash < 0 || (slash == 0 && path.size() == 1)) return path;
    return path.mid(slash + 1);
}

} // namespace

QString extensionOf(QStringView name)
{
    return extensionView(name).toString().toLower();
}

QString FileEntry::ext() const
{
    return extensionOf(name);
}

namespace {

// A walk meets the same few extensions over and over: remember the last few
// per thread, matched without making a string.
MediaKind classifyName(QStringView name)
{
    struct Recent {
        QString ext;
        MediaKind kind;
    };
    thread_local std::array<Recent, 16> recent;
    thread_local std::size_t used = 0, nextSlot = 0;
    const QStringView ext = extensionView(name);
    for (std::size_t i = 0; i < used; ++i)
        if (ext.size() == recent[i].ext.size() &&
            ext.compare(recent[i].ext, Qt::CaseInsensitive) == 0)
            return recent[i].kind;
    const QString lower = ext.toString().toLower();
    const MediaKind kind = FileEntry::classify(lower, false);
    recent[nextSlot] = {lower, kind};
    nextSlot = (nextSlot + 1) % recent.size();
    used = std::min(used + 1, recent.size());
    return kind;
}

} // namespace

MediaKind FileEntry::classify(const QString& ext, bool isDirectory)
{
    if (isDirectory) return MediaKind::Other;
    // The registry lookup is far slower than the walk that asks for it; a scan
    // sees few distinct extensions, so each is asked once per thread.
    thread_local QHash<QString, MediaKind> cache;
    if (auto it = cache.constFind(ext); it != cache.constEnd()) return *it;
    static QMutex mutex;
    static QHash<QString, MediaKind> shared;
    MediaKind kind;
    {
        QMutexLocker lock(&mutex);
        auto it = shared.constFind(ext);
        if (it == shared.constEnd()) it = shared.insert(ext, classifyUncached(ext));
        kind = *it;
    }
    cache.insert(ext, kind);
    return kind;
}

FileEntry FileEntry::fromStat(QString path, QString name, const struct stat& st)
{
    FileEntry entry;
    entry.isDirectory = S_ISDIR(st.st_mode);
    entry.size = entry.isDirectory ? 0 : qMax<qint64>(0, st.st_size);
    entry.modified = dateFromTimespec(st.st_mtim);
    entry.mediaKind = entry.isDirectory ? MediaKind::Other : classifyName(name);
    entry.path = std::move(path);
    entry.name = std::move(name);
    return entry;
}

FileEntry FileEntry::fromPath(const QString& path)
{
    const QByteArray native = nativePath(path);
    struct stat st;
    if (::stat(native.constData(), &st) != 0) {
        const int error = errno;
        // A link that leads nowhere is still an item the user can see and remove.
        if (::lstat(native.constData(), &st) != 0 || !S_ISLNK(st.st_mode))
            throw FileError::fromErrno(error, path);
    }
    return fromStat(path, lastComponent(path), st);
}

FileEntry FileEntry::fromUrl(const QUrl& url)
{
    return fromPath(pathForUrl(url));
}

FileEntry FileEntry::indexed(const QString& path, qint64 size, const QDateTime& modified,
                             bool isDirectory)
{
    FileEntry entry;
    entry.path = path;
    entry.name = lastComponent(path);
    entry.isDirectory = isDirectory;
    entry.size = qMax<qint64>(0, size);
    entry.modified = modified;
    entry.mediaKind = classify(extensionOf(entry.name), isDirectory);
    return entry;
}

size_t qHash(const FileEntry& entry, size_t seed)
{
    return qHashMulti(seed, entry.path, entry.name, entry.isDirectory, entry.size, entry.modified,
                      rawValue(entry.mediaKind));
}
