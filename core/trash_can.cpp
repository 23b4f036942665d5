#include "trash_can.h"

#include "file_error.h"
#include "file_operations.h"
#include "native_path.h"
#include "path_names.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <dirent.h>
#include <gio/gio.h>
#include <memory>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace TrashCan {

namespace {

const QString kInfoSuffix = QStringLiteral(".trashinfo");

QString homeTrash()
{
    // The folder GIO itself uses, so both agree on where the trash is.
    return decodePath(g_get_user_data_dir()) + QStringLiteral("/Trash");
}

std::optional<dev_t> deviceOf(const QString& path)
{
    struct stat st;
    if (::lstat(nativePath(path).constData(), &st) != 0) return std::nullopt;
    return st.st_dev;
}

// The top of the file system holding `path`.
QString mountTop(const QString& path)
{
    QString top = parentFolder(path);
    const std::optional<dev_t> device = deviceOf(top);
    while (top != u"/" && deviceOf(parentFolder(top)) == device)
        top = parentFolder(top);
    return top;
}

// The trash folders an item of `path` may go to.
QStringList trashesFor(const QString& path)
{
    const QString top = mountTop(path);
    const QString user = QString::number(::getuid());
    return {homeTrash(), childPath(top, QStringLiteral(".Trash/") + user),
            childPath(top, QStringLiteral(".Trash-") + user)};
}

QSet<QString> infoNames(const QString& trash)
{
    QSet<QString> names;
    struct Close {
        void operator()(DIR* dir) const { ::closedir(dir); }
    };
    const std::unique_ptr<DIR, Close> dir(
        ::opendir(nativePath(trash + QStringLiteral("/info")).constData()));
    if (!dir) return names;
    while (const struct dirent* entry = ::readdir(dir.get())) {
        const QString name = decodePath(entry->d_name);
        if (name.endsWith(kInfoSuffix)) names.insert(name);
    }
    return names;
}

// The original path a .trashinfo names; relative ones belong to the trash's file system.
std::optional<QString> originalIn(const QString& info)
{
    QFile file(OpenablePath(info).name());
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    const QList<QByteArray> lines = file.readAll().split('\n');
    for (const QByteArray& line : lines) {
        if (!line.startsWith("Path=")) continue;
        const QString path = decodePath(QByteArray::fromPercentEncoding(line.mid(5).trimmed()));
        if (path.startsWith(u'/')) return path;
        const QString trash = parentFolder(parentFolder(info));
        const QString top = trash.endsWith(QStringLiteral("/.Trash-") + QString::number(::getuid()))
                                ? parentFolder(trash)
                                : parentFolder(parentFolder(trash));
        return childPath(top, path);
    }
    return std::nullopt;
}

} // namespace

void trash(const QString& path)
{
    const std::unique_ptr<GFile, decltype(&g_object_unref)> file(
        g_file_new_for_path(nativePath(path).constData()), &g_object_unref);
    GError* error = nullptr;
    if (g_file_trash(file.get(), nullptr, &error)) return;
    const QString reason = QString::fromUtf8(error->message);
    g_error_free(error);
    throw FileError::withDescription(path, reason);
}

bool canTrash(const QString& path)
{
    const std::unique_ptr<GFile, decltype(&g_object_unref)> file(
        g_file_new_for_path(nativePath(path).constData()), &g_object_unref);
    GFileInfo* info = g_file_query_info(file.get(), G_FILE_ATTRIBUTE_ACCESS_CAN_TRASH,
                                        G_FILE_QUERY_INFO_NOFOLLOW_SYMLINKS, nullptr, nullptr);
    if (!info) return false;
    const bool can = g_file_info_get_attribute_boolean(info, G_FILE_ATTRIBUTE_ACCESS_CAN_TRASH);
    g_object_unref(info);
    return can;
}

TrashedItem trashItem(const QString& path)
{
    const QString original = absolutePath(path);
    const QStringList trashes = trashesFor(original);
    QList<QSet<QString>> before;
    for (const QString& trash : trashes)
        before.append(infoNames(trash));
    TrashCan::trash(original);
    for (qsizetype i = 0; i < trashes.size(); ++i) {
        for (const QString& name : infoNames(trashes[i])) {
            if (before[i].contains(name)) continue;
            const QString info = trashes[i] + QStringLiteral("/info/") + name;
            if (originalIn(info) != original) continue;
            const QString stem = name.left(name.size() - kInfoSuffix.size());
            return {original, trashes[i] + QStringLiteral("/files/") + stem, info};
        }
    }
    // In the trash, but not where the freedesktop rules put it: it can't come back by itself.
    throw FileError::withDescription(
        original,
        QCoreApplication::translate("TrashCan", "The trash doesn\u2019t say where it put it."));
}

void restore(const TrashedItem& item)
{
    if (originalIn(item.info) != item.original || !deviceOf(item.trashed))
        throw FileError::withMessage(
            FileError::Code::FileReadUnknown, item.original,
            QCoreApplication::translate("TrashCan", "\u201C%1\u201D is no longer in the trash.")
                .arg(QFileInfo(item.original).fileName()));
    FileOperations::moveNoReplace(item.trashed, item.original);
    ::unlink(nativePath(item.info).constData());
}

} // namespace TrashCan
