#include "trash_can.h"

#include "file_error.h"
#include "file_operations.h"
#include "lazy_library.h"
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

// GIO and the GLib it pulls in are loaded on the first trash, so that
// programs which never trash (the command line's copies and scans) start
// without them.
struct Gio {
    decltype(&g_get_user_data_dir) userDataDir;
    decltype(&g_file_new_for_path) fileForPath;
    decltype(&g_file_trash) trash;
    decltype(&g_file_query_info) queryInfo;
    decltype(&g_file_info_get_attribute_boolean) attributeBoolean;
    decltype(&g_object_unref) unref;
    decltype(&g_error_free) freeError;
    QString error; // why it can't be used; empty when it can
};

const Gio& gio()
{
    static const Gio loaded = [] {
        LazyLibrary library("libgio-2.0.so.0");
        Gio found{
            library.function<decltype(Gio::userDataDir)>("g_get_user_data_dir"),
            library.function<decltype(Gio::fileForPath)>("g_file_new_for_path"),
            library.function<decltype(Gio::trash)>("g_file_trash"),
            library.function<decltype(Gio::queryInfo)>("g_file_query_info"),
            library.function<decltype(Gio::attributeBoolean)>("g_file_info_get_attribute_boolean"),
            library.function<decltype(Gio::unref)>("g_object_unref"),
            library.function<decltype(Gio::freeError)>("g_error_free"),
            {}};
        found.error = library.error();
        return found;
    }();
    return loaded;
}

// GIO, or a FileError for `path` saying why it can't be had.
const Gio& usableGio(const QString& path)
{
    const Gio& loaded = gio();
    if (!loaded.error.isEmpty()) throw FileError::withDescription(path, loaded.error);
    return loaded;
}

using GFilePointer = std::unique_ptr<GFile, decltype(Gio::unref)>;

QString homeTrash(const Gio& gio)
{
    // The folder GIO itself uses, so both agree on where the trash is.
    return decodePath(gio.userDataDir()) + QStringLiteral("/Trash");
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
    return {homeTrash(usableGio(path)), childPath(top, QStringLiteral(".Trash/") + user),
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
    const Gio& gio = usableGio(path);
    const GFilePointer file(gio.fileForPath(nativePath(path).constData()), gio.unref);
    GError* error = nullptr;
    if (gio.trash(file.get(), nullptr, &error)) return;
    const QString reason = QString::fromUtf8(error->message);
    gio.freeError(error);
    throw FileError::withDescription(path, reason);
}

bool canTrash(const QString& path)
{
    const Gio& gio = TrashCan::gio();
    if (!gio.error.isEmpty()) return false;
    const GFilePointer file(gio.fileForPath(nativePath(path).constData()), gio.unref);
    GFileInfo* info = gio.queryInfo(file.get(), G_FILE_ATTRIBUTE_ACCESS_CAN_TRASH,
                                    G_FILE_QUERY_INFO_NOFOLLOW_SYMLINKS, nullptr, nullptr);
    if (!info) return false;
    const bool can = gio.attributeBoolean(info, G_FILE_ATTRIBUTE_ACCESS_CAN_TRASH);
    gio.unref(info);
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
