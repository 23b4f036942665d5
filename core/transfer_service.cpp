#include "transfer_service.h"

#include "directory_reader.h"
#include "file_operations.h"
#include "native_path.h"
#include "path_names.h"
#include "unique_fd.h"

#include <QFile>
#include <QFileInfo>
#include <QUuid>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <linux/fs.h>
#include <optional>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr std::size_t kChunkSize = 1 << 20;
constexpr auto kReportInterval = std::chrono::milliseconds(100);

QByteArray native(const QString& path)
{
    return nativePath(path);
}

QString decoded(const QByteArray& path)
{
    return decodePath(path);
}

QByteArray joined(const QByteArray& root, const QByteArray& relative)
{
    return relative.isEmpty() ? root : root + '/' + relative;
}

[[noreturn]] void fail(int error, const QByteArray& path)
{
    throw FileError::fromErrno(error, decoded(path));
}

// Errors of the writing side, blamed on the copy rather than its source.
bool isWriteError(int error)
{
    return error == ENOSPC || error == EDQUOT || error == EFBIG || error == EROFS;
}

bool unsupported(int error)
{
    return error == ENOTSUP || error == EOPNOTSUPP;
}

std::optional<QByteArray> realPath(const QByteArray& path)
{
    char* resolved = ::realpath(path.constData(), nullptr);
    if (!resolved) return std::nullopt;
    QByteArray result(resolved);
    std::free(resolved);
    return result;
}

// Removes a tree without following links, opening up folders the copy made
// read-only so their contents can go too.
void removeTreeAt(int parent, const char* name)
{
    struct stat st;
    if (::fstatat(parent, name, &st, AT_SYMLINK_NOFOLLOW) != 0) return;
    if (!S_ISDIR(st.st_mode)) {
        ::unlinkat(parent, name, 0);
        return;
    }
    if ((st.st_mode & S_IRWXU) != S_IRWXU) ::fchmodat(parent, name, st.st_mode | S_IRWXU, 0);
    const int fd = ::openat(parent, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd >= 0) {
        if (DIR* dir = ::fdopendir(fd)) {
            std::vector<QByteArray> children;
            while (const struct dirent* entry = ::readdir(dir)) {
                const QByteArray child(entry->d_name);
                if (child != "." && child != "..") children.push_back(child);
            }
            for (const QByteArray& child : children)
                removeTreeAt(::dirfd(dir), child.constData());
            ::closedir(dir);
        } else {
            ::close(fd);
        }
    }
    ::unlinkat(parent, name, AT_REMOVEDIR);
}

// The temporary item, removed on every way out unless it was moved into place.
class TemporaryItem {
public:
    explicit TemporaryItem(QByteArray path) : path_(std::move(path)) {}
    ~TemporaryItem()
    {
        if (!path_.isEmpty()) removeTreeAt(AT_FDCWD, path_.constData());
    }
    TemporaryItem(const TemporaryItem&) = delete;
    TemporaryItem& operator=(const TemporaryItem&) = delete;
    void keep() { path_.clear(); }

private:
    QByteArray path_;
};

struct WorkItem {
    QByteArray relative; // empty for the root
    struct stat st;      // the latest properties read from the source
};

bool sameContent(const struct stat& a, const struct stat& b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino && a.st_size == b.st_size &&
           a.st_mtim.tv_sec == b.st_mtim.tv_sec && a.st_mtim.tv_nsec == b.st_mtim.tv_nsec;
}

class TreeCopy {
public:
    TreeCopy(QByteArray source, QByteArray temporary, QByteArray target,
             const TransferEngine::ProgressHandler& progress, const CancelCheck& isCancelled)
        : source_(std::move(source)), temporary_(std::move(temporary)), target_(std::move(target)),
          progress_(progress), isCancelled_(isCancelled)
    {
    }

    void collect()
    {
        WorkItem root;
        if (::lstat(source_.constData(), &root.st) != 0) fail(errno, source_);
        items_.push_back(root);
        if (S_ISDIR(root.st.st_mode)) enumerate(source_, {});
        for (const WorkItem& item : items_)
            if (S_ISREG(item.st.st_mode)) total_ += item.st.st_size;
    }

    void copyData()
    {
        report();
        for (WorkItem& item : items_) {
            throwIfCancelled(isCancelled_);
            const QByteArray from = joined(source_, item.relative);
            const QByteArray to = joined(temporary_, item.relative);
            const mode_t type = item.st.st_mode & S_IFMT;
            if (type == S_IFLNK)
                copyLink(item, from, to);
            else if (type == S_IFDIR) {
                // Owner-writable until the metadata pass gives it its own mode.
                if (::mkdir(to.constData(), S_IRWXU) != 0) fail(errno, finalPath(item));
            } else if (type == S_IFREG)
                copyFile(item, from, to);
            else if (::mknod(to.constData(), type | S_IRUSR | S_IWUSR, item.st.st_rdev) != 0)
                fail(errno, finalPath(item)); // a FIFO or device: never opened, made anew
        }
    }

    // Contents before the folders holding them, so a read-only folder gets its
    // mode only after everything inside it is written.
    void copyMetadata()
    {
        for (auto item = items_.rbegin(); item != items_.rend(); ++item) {
            throwIfCancelled(isCancelled_);
            applyMetadata(*item);
        }
    }

    // The whole copy on stable storage before it can take its final name.
    // One flush of the file system instead of one per file: a tree of small
    // files would otherwise wait on the disk once per file.
    void flush() const
    {
        const QByteArray folder = temporary_.left(temporary_.lastIndexOf('/') + 1);
        UniqueFd fd(::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        if (!fd.valid()) fail(errno, folder);
        if (::syncfs(fd.get()) != 0) fail(errno, target_);
    }

    void finish()
    {
        bytes_ = total_;
        report();
    }

private:
    QByteArray finalPath(const WorkItem& item) const { return joined(target_, item.relative); }

    [[noreturn]] void failEnumerating(const QByteArray& folder) const
    {
        const int error = errno;
        if (error == EACCES || error == EPERM)
            throw FileError(FileError::Code::FileReadNoPermission, decoded(folder));
        fail(error, folder);
    }

    void enumerate(const QByteArray& folder, const QByteArray& relative)
    {
        const int fd = DirectoryReader::openFolder(folder.constData(), false);
        if (fd < 0) failEnumerating(folder);
        std::vector<DirectoryReader::Child> children;
        {
            DirectoryReader reader(fd, true, DirectoryReader::Links::DontFollow);
            if (!reader.read(children)) failEnumerating(folder);
        }
        for (DirectoryReader::Child& child : children) {
            throwIfCancelled(isCancelled_);
            const QByteArray path = folder + '/' + child.name;
            if (child.statFailed && ::lstat(path.constData(), &child.st) != 0) fail(errno, path);
            WorkItem item{relative.isEmpty() ? child.name : relative + '/' + child.name, child.st};
            items_.push_back(item);
            if (S_ISDIR(item.st.st_mode)) enumerate(path, item.relative);
        }
    }

    void report()
    {
        if (progress_) progress_(CopyProgress{bytes_, total_});
    }

    void add(qint64 count)
    {
        bytes_ += count;
        const auto now = std::chrono::steady_clock::now();
        if (lastReport_ && now - *lastReport_ <= kReportInterval) return;
        report();
        lastReport_ = now;
    }

    void copyLink(const WorkItem& item, const QByteArray& from, const QByteArray& to)
    {
        QByteArray text(qMax<qsizetype>(item.st.st_size, PATH_MAX) + 1, Qt::Uninitialized);
        const ssize_t length = ::readlink(from.constData(), text.data(), size_t(text.size()));
        if (length < 0) fail(errno, from);
        if (length == text.size()) throw FileError(FileError::Code::FileReadUnknown, decoded(from));
        text.truncate(length);
        if (::symlink(text.constData(), to.constData()) != 0) fail(errno, finalPath(item));
    }

    void copyFile(WorkItem& item, const QByteArray& from, const QByteArray& to)
    {
        // No blocking open: a FIFO swapped in for the file must not hang the copy.
        // Reading leaves the source's access time alone where we may ask that.
        const int flags = O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK;
        UniqueFd in(::open(from.constData(), flags | O_NOATIME));
        if (!in.valid() && errno == EPERM) in = UniqueFd(::open(from.constData(), flags));
        if (!in.valid()) fail(errno, from);
        struct stat before;
        if (::fstat(in.get(), &before) != 0) fail(errno, from);
        if (!S_ISREG(before.st_mode) || !sameContent(before, item.st))
            throw FileError(FileError::Code::FileReadUnknown, decoded(from));
        UniqueFd out(::open(to.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
        if (!out.valid()) fail(errno, finalPath(item));
        copyBytes(in.get(), out.get(), before.st_size, from, finalPath(item));
        if (out.close() != 0) fail(errno, finalPath(item));
        in.reset();
        struct stat after;
        if (::lstat(from.constData(), &after) != 0) fail(errno, from);
        if (!sameContent(before, after))
            throw FileError(FileError::Code::FileReadUnknown, decoded(from));
        item.st = after;
        item.st.st_atim = before.st_atim; // the time before our own reading
    }

    void copyBytes(int in, int out, qint64 size, const QByteArray& from, const QByteArray& to)
    {
        // A reflink shares the blocks at once where the file system offers it.
        if (size > 0 && ::ioctl(out, FICLONE, in) == 0) {
            throwIfCancelled(isCancelled_);
            add(size);
            return;
        }
        for (;;) {
            throwIfCancelled(isCancelled_);
            ssize_t count;
            if (useKernelCopy_) {
                count = ::copy_file_range(in, nullptr, out, nullptr, kChunkSize, 0);
                if (count < 0 &&
                    (errno == EXDEV || errno == EINVAL || errno == ENOSYS || unsupported(errno))) {
                    useKernelCopy_ = false;
                    continue;
                }
                if (count < 0 && errno != EINTR) fail(errno, isWriteError(errno) ? to : from);
            } else {
                count = readChunk(in, from);
                if (count > 0) writeChunk(out, count, to);
            }
            if (count < 0) continue; // interrupted
            if (count == 0) return;
            add(count);
        }
    }

    ssize_t readChunk(int in, const QByteArray& from)
    {
        buffer_.resize(kChunkSize);
        const ssize_t count = ::read(in, buffer_.data(), buffer_.size());
        if (count < 0 && errno != EINTR) fail(errno, from);
        return count;
    }

    void writeChunk(int out, ssize_t count, const QByteArray& to)
    {
        for (ssize_t done = 0; done < count;) {
            const ssize_t written = ::write(out, buffer_.data() + done, size_t(count - done));
            if (written < 0 && errno != EINTR) fail(errno, to);
            if (written > 0) done += written;
        }
    }

    static std::vector<QByteArray> attributeNames(const QByteArray& path)
    {
        ssize_t size = ::llistxattr(path.constData(), nullptr, 0);
        if (size <= 0) return {};
        QByteArray names(size, Qt::Uninitialized);
        size = ::llistxattr(path.constData(), names.data(), size_t(names.size()));
        std::vector<QByteArray> result;
        if (size > 0)
            for (const QByteArray& name : names.left(size).split('\0'))
                if (!name.isEmpty()) result.push_back(name);
        return result;
    }

    // A copy onto a file system without extended attributes keeps what it can, as `cp -a` does.
    void copyAttribute(const QByteArray& from, const QByteArray& to, const QByteArray& name,
                       const QByteArray& blamed)
    {
        ssize_t length = ::lgetxattr(from.constData(), name.constData(), nullptr, 0);
        if (length < 0) return; // gone since it was listed
        attribute_.resize(length);
        length =
            ::lgetxattr(from.constData(), name.constData(), attribute_.data(), attribute_.size());
        if (length < 0) return;
        if (::lsetxattr(to.constData(), name.constData(), attribute_.constData(), size_t(length),
                        0) != 0 &&
            !unsupported(errno))
            fail(errno, blamed);
    }

    void applyMetadata(const WorkItem& item)
    {
        const QByteArray from = joined(source_, item.relative);
        const QByteArray to = joined(temporary_, item.relative);
        const QByteArray blamed = finalPath(item);
        const struct stat& st = item.st;
        const bool link = S_ISLNK(st.st_mode);
        const std::vector<QByteArray> names =
            link ? std::vector<QByteArray>{} : attributeNames(from);
        // User attributes need write access, so they go on before the mode.
        for (const QByteArray& name : names)
            if (name.startsWith("user.")) copyAttribute(from, to, name, blamed);
        // Ownership before the mode: chown clears set-id bits. Only root may give files away.
        if (::lchown(to.constData(), st.st_uid, st.st_gid) != 0 && errno != EPERM)
            fail(errno, blamed);
        if (!link && ::chmod(to.constData(), st.st_mode & 07777) != 0) fail(errno, blamed);
        for (const QByteArray& name : names)
            if (name.startsWith("system.posix_acl_")) copyAttribute(from, to, name, blamed);
        const struct timespec times[2] = {st.st_atim, st.st_mtim};
        if (::utimensat(AT_FDCWD, to.constData(), times, AT_SYMLINK_NOFOLLOW) != 0)
            fail(errno, blamed);
    }

    const QByteArray source_;
    const QByteArray temporary_;
    const QByteArray target_;
    const TransferEngine::ProgressHandler& progress_;
    const CancelCheck& isCancelled_;
    std::vector<WorkItem> items_;
    qint64 bytes_ = 0;
    qint64 total_ = 0;
    std::optional<std::chrono::steady_clock::time_point> lastReport_;
    bool useKernelCopy_ = true;
    std::vector<char> buffer_;
    QByteArray attribute_;
};

void checkNesting(const QByteArray& source, const QByteArray& folder, const QString& shownSource)
{
    const QByteArray inside = realPath(source).value_or(source);
    const std::optional<QByteArray> destination = realPath(folder);
    if (!destination) fail(errno, folder);
    if (*destination == inside || destination->startsWith(inside + '/') || inside == "/")
        throw FileError::withMessage(
            FileError::Code::FileWriteInvalidFileName, shownSource,
            QStringLiteral("\u201C%1\u201D can\u2019t be copied into itself or into a folder "
                           "inside it.")
                .arg(QFileInfo(shownSource).fileName()));
}

void syncFolder(const QByteArray& folder)
{
    // Makes the final rename itself durable; the data already is.
    UniqueFd fd(::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.valid()) ::fsync(fd.get());
}

} // namespace

TransferService::TransferService() = default;

TransferService::~TransferService() = default;

void TransferService::copy(const QString& source, const QString& destination,
                           const ProgressHandler& progress, const CancelCheck& isCancelled)
{
    const QString given = absolutePath(source);
    const QString name = QFileInfo(given).fileName();
    if (name.isEmpty()) throw FileError(FileError::Code::FileWriteInvalidFileName, given);
    // Only the folders above the source are resolved: a link stays a link.
    const QByteArray parent = native(QFileInfo(given).absolutePath());
    const std::optional<QByteArray> resolvedParent = realPath(parent);
    if (!resolvedParent) fail(errno, native(given));
    const QByteArray resolved = joined(*resolvedParent, native(name));
    const QString folder = absolutePath(destination);
    const QByteArray folderPath = native(folder);
    const QByteArray target = native(childPath(folder, name));

    checkNesting(resolved, folderPath, given);
    struct stat st;
    if (::lstat(target.constData(), &st) == 0)
        throw FileError(FileError::Code::FileWriteFileExists, decoded(target));

    const QString temporaryName = QStringLiteral(".quorvane-copy-") +
                                  QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper();
    const QString temporary = childPath(folder, temporaryName);
    TemporaryItem cleanup(native(temporary));

    TreeCopy tree(resolved, native(temporary), target, progress, isCancelled);
    tree.collect();
    tree.copyData();
    tree.copyMetadata();
    tree.flush();
    throwIfCancelled(isCancelled);
    FileOperations::moveNoReplace(temporary, decoded(target));
    cleanup.keep();
    syncFolder(folderPath);
    tree.finish();
}

QFuture<void> TransferService::start(const QString& source, const QString& destination,
                                     ProgressHandler progress, CancelCheck isCancelled)
{
    return executor_.run([=](const CancelCheck& futureCancelled) {
        copy(source, destination, progress,
             [&] { return futureCancelled() || (isCancelled && isCancelled()); });
    });
}
