#include "file_operations.h"

#include "directory_reader.h"
#include "natural_order.h"
#include "path_names.h"
#include "tree_walker.h"
#include "unique_fd.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUuid>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/stat.h>
#include <unistd.h>

namespace FileOperations {

namespace {

QByteArray native(const QString& path)
{
    return QFile::encodeName(path);
}

QString parentOf(const QString& path)
{
    return QFileInfo(path).absolutePath();
}

bool exists(const QString& path)
{
    struct stat st;
    return ::lstat(native(path).constData(), &st) == 0;
}

[[noreturn]] void throwErrno(const QString& path)
{
    throw FileError::fromErrno(errno, path);
}

void removeTree(const QString& path)
{
    QFileInfo info(path);
    if (info.isDir() && !info.isSymLink())
        QDir(path).removeRecursively();
    else
        QFile::remove(path);
}

// Copies file data with the kernel doing the work where it can.
void copyFileData(int in, int out, const QString& source)
{
    for (;;) {
        const ssize_t n = ::copy_file_range(in, nullptr, out, nullptr, 1 << 30, 0);
        if (n > 0) continue;
        if (n == 0) return;
        if (errno != EXDEV && errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP)
            throwErrno(source);
        break;
    }
    char buffer[1 << 16];
    for (;;) {
        const ssize_t n = ::read(in, buffer, sizeof buffer);
        if (n == 0) return;
        if (n < 0) {
            if (errno == EINTR) continue;
            throwErrno(source);
        }
        for (ssize_t done = 0; done < n;) {
            const ssize_t w = ::write(out, buffer + done, size_t(n - done));
            if (w < 0) {
                if (errno == EINTR) continue;
                throwErrno(source);
            }
            done += w;
        }
    }
}

void copyFile(const QString& source, const QString& target, mode_t mode)
{
    UniqueFd in(::open(native(source).constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW));
    if (!in.valid()) throwErrno(source);
    UniqueFd out(
        ::open(native(target).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode & 07777));
    if (!out.valid()) throwErrno(target);
    copyFileData(in.get(), out.get(), source);
    if (::fchmod(out.get(), mode & 07777) != 0 || out.close() != 0) throwErrno(target);
}

void copyItem(const QString& source, const QString& target)
{
    struct stat st;
    if (::lstat(native(source).constData(), &st) != 0) throwErrno(source);
    if (S_ISLNK(st.st_mode)) {
        QByteArray buffer(st.st_size + 1, Qt::Uninitialized);
        const ssize_t n = ::readlink(native(source).constData(), buffer.data(), buffer.size());
        if (n < 0) throwErrno(source);
        buffer.truncate(n);
        if (::symlink(buffer.constData(), native(target).constData()) != 0) throwErrno(target);
        return;
    }
    if (S_ISREG(st.st_mode)) return copyFile(source, target, st.st_mode);
    if (!S_ISDIR(st.st_mode)) throw FileError(FileError::Code::FileReadUnknown, source);
    if (::mkdir(native(target).constData(), 0700) != 0) throwErrno(target);
    const int fd = DirectoryReader::openFolder(native(source).constData(), false);
    if (fd < 0) throwErrno(source);
    std::vector<DirectoryReader::Child> children;
    DirectoryReader reader(fd, true, DirectoryReader::Links::DontFollow);
    if (!reader.read(children)) throwErrno(source);
    for (const DirectoryReader::Child& child : children) {
        const QString name = QFile::decodeName(child.name);
        copyItem(childPath(source, name), childPath(target, name));
    }
    if (::chmod(native(target).constData(), st.st_mode & 07777) != 0) throwErrno(target);
}

} // namespace

QList<FileEntry> contents(const QString& folder, bool hidden)
{
    const QString root = absolutePath(folder);
    const int fd = DirectoryReader::openFolder(native(root).constData(), true);
    if (fd < 0) throwErrno(root);
    DirectoryReader reader(fd, hidden, DirectoryReader::Links::Follow);
    std::vector<DirectoryReader::Child> children;
    if (!reader.read(children)) throwErrno(root);
    QList<FileEntry> entries;
    entries.reserve(qsizetype(children.size()));
    for (const DirectoryReader::Child& child : children) {
        if (child.statFailed) continue;
        QString name = QFile::decodeName(child.name);
        QString path = childPath(root, name);
        entries.append(FileEntry::fromStat(std::move(path), std::move(name), child.st));
    }
    NaturalOrder().sortFoldersFirst(entries);
    return entries;
}

StorageReport scan(const QString& folder, const CancelCheck& isCancelled,
                   const std::function<void(qint64)>& progress)
{
    QList<FileEntry> files;
    int inaccessible = 0;
    qint64 seen = 0;
    TreeWalker::walk(
        folder, false,
        [&](const TreeWalker::Item& item) {
            if (progress && (++seen & 0xfff) == 0) progress(seen);
            if (!item.st) {
                ++inaccessible;
                return;
            }
            if (S_ISDIR(item.st->st_mode)) return;
            files.append(FileEntry::fromStat(item.path, item.name, *item.st));
        },
        isCancelled);
    return StorageReport(std::move(files), inaccessible);
}

void validateName(const QString& name)
{
    const bool invalid = name.trimmed().isEmpty() || name.contains(u'/') || name.contains(u':') ||
                         name == u"." || name == u".." || name.contains(QChar(0));
    if (invalid) throw FileError(FileError::Code::FileWriteInvalidFileName, name);
}

void createFolder(const QString& folder, const QString& name)
{
    validateName(name);
    const QString path = childPath(folder, name);
    if (::mkdir(native(path).constData(), 0777) != 0) throwErrno(path);
}

void moveNoReplace(const QString& from, const QString& to)
{
    const QByteArray source = native(from), target = native(to);
    if (::renameat2(AT_FDCWD, source.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) ==
        0)
        return;
    if (errno == EEXIST) throw FileError(FileError::Code::FileWriteFileExists, to);
    if (errno != EINVAL && errno != ENOSYS) throwErrno(from);
    // File systems without the no-replace flag: the best we can do is look first.
    if (exists(to)) throw FileError(FileError::Code::FileWriteFileExists, to);
    if (::rename(source.constData(), target.constData()) != 0) throwErrno(from);
}

void rename(const QString& item, const QString& name)
{
    validateName(name);
    const QString path = absolutePath(item);
    const QString destination = childPath(parentOf(path), name);
    if (destination == path) return;
    moveNoReplace(path, destination);
}

void copy(const QString& item, const QString& folder)
{
    const QString source = absolutePath(item);
    const QString destination = childPath(folder, QFileInfo(source).fileName());
    if (exists(destination)) throw FileError(FileError::Code::FileWriteFileExists, destination);
    // Build the copy under a hidden name so nothing half-made ever carries the
    // final name, then move it into place without replacing anything.
    const QString temporary =
        childPath(folder, QStringLiteral(".quorvane-copy-") +
                              QUuid::createUuid().toString(QUuid::WithoutBraces));
    try {
        copyItem(source, temporary);
        moveNoReplace(temporary, destination);
    } catch (...) {
        removeTree(temporary);
        throw;
    }
}

void trash(const QStringList& items)
{
    for (const QString& item : items) {
        if (!exists(item)) throwErrno(item);
        // moveToTrash only renames: an item no trash can take stays where it is.
        QFile file(item);
        if (!file.moveToTrash()) throw FileError::withDescription(item, file.errorString());
    }
}

} // namespace FileOperations
