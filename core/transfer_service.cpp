#include "transfer_service.h"

#include "directory_reader.h"
#include "file_operations.h"
#include "free_name.h"
#include "item_move.h"
#include "item_placement.h"
#include "native_path.h"
#include "path_names.h"
#include "transfer_temporary_item.h"
#include "unique_fd.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <linux/fs.h>
#include <map>
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

struct WorkItem {
    QByteArray relative;       // empty for the root
    struct stat st;            // the latest properties read from the source
    bool metadataDone = false; // a file's, put on while its copy was open
    // An earlier item of the tree listed as the same file (a hard link), or -1.
    qsizetype linkOf = -1;
};

// Trees this small are flushed file by file; larger ones in one flush of the file system.
constexpr std::size_t kFlushEachUpTo = 16;

// The root lost to a cleaner of stale items in the instant between making it and locking it.
struct LostTemporaryItem {};

bool sameFile(const struct stat& a, const struct stat& b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

bool sameContent(const struct stat& a, const struct stat& b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino && a.st_size == b.st_size &&
           a.st_mtim.tv_sec == b.st_mtim.tv_sec && a.st_mtim.tv_nsec == b.st_mtim.tv_nsec;
}

// A file's open descriptors, or none for an item reached by its path.
struct Handles {
    int from = -1;
    int to = -1;
    bool open() const { return from >= 0; }
};

class TreeCopy {
public:
    TreeCopy(QByteArray source, TransferTemporaryItem& temporary, QByteArray target,
             const TransferEngine::ProgressHandler& progress, const CancelCheck& isCancelled)
        : source_(std::move(source)), temporary_(temporary), target_(std::move(target)),
          progress_(progress), isCancelled_(isCancelled)
    {
    }

    void collect()
    {
        WorkItem root;
        if (::lstat(source_.constData(), &root.st) != 0) fail(errno, source_);
        const QByteArray folder = temporary_.path().left(temporary_.path().lastIndexOf('/') + 1);
        struct stat destination;
        // New items take our group, unless the folder (set-group-ID, or a file
        // system mounted to do so) hands its own group down.
        inheritsGroup_ = ::stat(folder.constData(), &destination) != 0 ||
                         (destination.st_mode & S_ISGID) || destination.st_gid != group_;
        items_.push_back(root);
        if (S_ISDIR(root.st.st_mode)) enumerate(source_, {});
        findHardLinks();
        for (const WorkItem& item : items_)
            if (S_ISREG(item.st.st_mode) && item.linkOf < 0) total_ += item.st.st_size;
    }

    void copyData()
    {
        report();
        makeRoot();
        for (std::size_t i = 1; i < items_.size(); ++i) {
            throwIfCancelled(isCancelled_);
            makeItem(items_[i]);
        }
    }

    // Contents before the folders holding them, so a read-only folder gets its
    // mode only after everything inside it is written.
    void copyMetadata()
    {
        for (auto item = items_.rbegin(); item != items_.rend(); ++item) {
            throwIfCancelled(isCancelled_);
            // A hard link shares its first path's.
            if (item->linkOf < 0 && !item->metadataDone) applyMetadata(*item);
        }
    }

    // The whole copy on stable storage before it can take its final name.
    // A few items are flushed one by one, so a lone file never waits on other
    // programs' writes; a tree of many small files takes one flush of the file
    // system instead of waiting on the disk once per file.
    void flush() const
    {
        if (items_.size() <= kFlushEachUpTo && flushEach()) return;
        const QByteArray folder = temporary_.path().left(temporary_.path().lastIndexOf('/') + 1);
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
    QByteArray temporaryPath(const WorkItem& item) const
    {
        return joined(temporary_.path(), item.relative);
    }

    // False when an item can't be opened any more (its copied mode keeps us
    // out): the whole file system is flushed instead.
    bool flushEach() const
    {
        for (const WorkItem& item : items_) {
            if (!S_ISREG(item.st.st_mode) && !S_ISDIR(item.st.st_mode)) continue;
            const QByteArray path = temporaryPath(item);
            UniqueFd fd(::open(path.constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
            if (!fd.valid()) return false;
            if (::fsync(fd.get()) != 0) fail(errno, finalPath(item));
        }
        return true;
    }

    // Paths of one file inside the tree stay one file in the copy, as `cp -a` keeps them.
    void findHardLinks()
    {
        std::map<std::pair<dev_t, ino_t>, qsizetype> first;
        for (std::size_t i = 0; i < items_.size(); ++i) {
            const struct stat& st = items_[i].st;
            if (!S_ISREG(st.st_mode) || st.st_nlink < 2) continue;
            const auto [found, isFirst] = first.emplace(std::pair(st.st_dev, st.st_ino), i);
            if (!isFirst) items_[i].linkOf = found->second;
        }
    }

    // A cleaner of stale items in this folder may take a root that is not
    // locked yet; then it is made again under another name.
    void makeRoot()
    {
        for (int attempt = 1;; ++attempt) {
            try {
                makeItem(items_.front());
                return;
            } catch (const LostTemporaryItem&) {
                if (attempt == 3) fail(EBUSY, target_);
                temporary_.renew();
            }
        }
    }

    // Locks the root as soon as it exists.
    void made(const WorkItem& item)
    {
        if (item.relative.isEmpty() && !temporary_.lock()) throw LostTemporaryItem();
    }

    void makeItem(WorkItem& item)
    {
        const QByteArray from = joined(source_, item.relative);
        const QByteArray to = temporaryPath(item);
        const mode_t type = item.st.st_mode & S_IFMT;
        if (type == S_IFLNK) {
            copyLink(item, from, to);
        } else if (type == S_IFDIR) {
            // Owner-writable until the metadata pass gives it its own mode.
            if (::mkdir(to.constData(), S_IRWXU) != 0) fail(errno, finalPath(item));
        } else if (type == S_IFREG) {
            if (!linkToFirst(item, from, to)) copyFile(item, from, to);
            return;
        } else if (::mknod(to.constData(), type | S_IRUSR | S_IWUSR, item.st.st_rdev) != 0) {
            fail(errno, finalPath(item)); // a FIFO or device: never opened, made anew
        }
        made(item);
    }

    // A later path of a file already copied becomes a link to that copy, as
    // long as it still is the same file and the destination takes links.
    bool linkToFirst(WorkItem& item, const QByteArray& from, const QByteArray& to)
    {
        if (item.linkOf < 0) return false;
        const WorkItem& first = items_[std::size_t(item.linkOf)];
        struct stat now;
        if (::lstat(from.constData(), &now) != 0) fail(errno, from);
        if (S_ISREG(now.st_mode) && sameFile(now, first.st)) {
            if (::link(temporaryPath(first).constData(), to.constData()) == 0) {
                item.st = first.st;
                return true;
            }
            if (errno != EMLINK && errno != EPERM && !unsupported(errno))
                fail(errno, finalPath(item));
        }
        item.linkOf = -1; // copied on its own
        return false;
    }

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
        // Files that grew after the listing must not take the bar past its end.
        if (progress_) progress_(CopyProgress{std::min(bytes_, total_), total_});
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
        // Only its own properties at its turn count: the tree may have changed
        // since it was listed, and the copy takes the file as it is now.
        if (!S_ISREG(before.st_mode))
            throw FileError(FileError::Code::FileReadUnknown, decoded(from));
        UniqueFd out(::open(to.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
        if (!out.valid()) fail(errno, finalPath(item));
        made(item);
        copyBytes(in.get(), out.get(), before, from, finalPath(item));
        struct stat after;
        if (::lstat(from.constData(), &after) != 0) fail(errno, from);
        if (!sameContent(before, after))
            throw FileError(FileError::Code::FileReadUnknown, decoded(from));
        item.st = after;
        item.st.st_atim = before.st_atim; // the time before our own reading
        // Its metadata goes on through the open descriptors: no path is looked up again.
        applyMetadata(item, Handles{in.get(), out.get()});
        item.metadataDone = true;
        if (out.close() != 0) fail(errno, finalPath(item));
    }

    void copyBytes(int in, int out, const struct stat& st, const QByteArray& from,
                   const QByteArray& to)
    {
        const qint64 size = st.st_size;
        // A reflink shares the blocks at once where the file system offers it;
        // where it doesn't, it isn't asked again for every file.
        if (size > 0 && tryClone_) {
            if (::ioctl(out, FICLONE, in) == 0) {
                throwIfCancelled(isCancelled_);
                add(size);
                return;
            }
            tryClone_ = false;
        }
        if (size > 0 && qint64(st.st_blocks) * 512 < size)
            copySparse(in, out, size, from, to);
        else
            copyRange(in, out, 0, size, from, to); // a change of size fails the check after
    }

    // Holes stay holes: only the parts that hold data are copied, and the
    // length is set at the end so a trailing hole stays one too.
    void copySparse(int in, int out, qint64 size, const QByteArray& from, const QByteArray& to)
    {
        off_t position = 0;
        while (position < size) {
            const off_t data = ::lseek(in, position, SEEK_DATA);
            if (data < 0 && errno == ENXIO) break; // nothing but a hole to the end
            if (data < 0 && (errno == EINVAL || unsupported(errno))) {
                copyRange(in, out, position, -1, from, to);
                return;
            }
            if (data < 0) fail(errno, from);
            const off_t hole = ::lseek(in, data, SEEK_HOLE);
            if (hole < 0) fail(errno, from);
            add(data - position);
            copyRange(in, out, data, hole, from, to);
            position = hole;
        }
        if (position < size) add(size - position);
        if (::ftruncate(out, size) != 0) fail(errno, to);
    }

    // Copies [start, end) of `in` to the same place in `out`; an `end` of -1 reads to the end.
    void copyRange(int in, int out, off_t start, off_t end, const QByteArray& from,
                   const QByteArray& to)
    {
        off_t inAt = start, outAt = start;
        for (;;) {
            throwIfCancelled(isCancelled_);
            std::size_t want = kChunkSize;
            if (end >= 0) {
                if (inAt >= end) return;
                want = std::min<std::size_t>(want, std::size_t(end - inAt));
            }
            ssize_t count;
            if (useKernelCopy_) {
                count = ::copy_file_range(in, &inAt, out, &outAt, want, 0);
                if (count < 0 &&
                    (errno == EXDEV || errno == EINVAL || errno == ENOSYS || unsupported(errno))) {
                    useKernelCopy_ = false;
                    continue;
                }
                if (count < 0 && errno != EINTR) fail(errno, isWriteError(errno) ? to : from);
            } else {
                count = readChunk(in, want, inAt, from);
                if (count > 0) {
                    writeChunk(out, count, outAt, to);
                    inAt += count;
                    outAt += count;
                }
            }
            if (count < 0) continue; // interrupted
            if (count == 0) return;
            add(count);
        }
    }

    ssize_t readChunk(int in, std::size_t want, off_t at, const QByteArray& from)
    {
        buffer_.resize(kChunkSize);
        const ssize_t count = ::pread(in, buffer_.data(), want, at);
        if (count < 0 && errno != EINTR) fail(errno, from);
        return count;
    }

    void writeChunk(int out, ssize_t count, off_t at, const QByteArray& to)
    {
        for (ssize_t done = 0; done < count;) {
            const ssize_t written =
                ::pwrite(out, buffer_.data() + done, size_t(count - done), at + done);
            if (written < 0 && errno != EINTR) fail(errno, to);
            if (written > 0) done += written;
        }
    }

    static std::vector<QByteArray> attributeNames(const QByteArray& path, Handles handles)
    {
        auto list = [&](char* into, std::size_t size) {
            return handles.open() ? ::flistxattr(handles.from, into, size)
                                  : ::llistxattr(path.constData(), into, size);
        };
        ssize_t size = list(nullptr, 0);
        if (size <= 0) return {}; // none at all: nothing more to ask
        QByteArray names(size, Qt::Uninitialized);
        size = list(names.data(), size_t(names.size()));
        std::vector<QByteArray> result;
        if (size > 0)
            for (const QByteArray& name : names.left(size).split('\0'))
                if (!name.isEmpty()) result.push_back(name);
        return result;
    }

    // A copy onto a file system without extended attributes keeps what it can, as `cp -a` does.
    void copyAttribute(const QByteArray& from, const QByteArray& to, Handles handles,
                       const QByteArray& name, const QByteArray& blamed)
    {
        auto get = [&](void* into, std::size_t size) {
            return handles.open() ? ::fgetxattr(handles.from, name.constData(), into, size)
                                  : ::lgetxattr(from.constData(), name.constData(), into, size);
        };
        ssize_t length = get(nullptr, 0);
        if (length < 0) return; // gone since it was listed
        attribute_.resize(length);
        length = get(attribute_.data(), attribute_.size());
        if (length < 0) return;
        const int set = handles.open() ? ::fsetxattr(handles.to, name.constData(),
                                                     attribute_.constData(), size_t(length), 0)
                                       : ::lsetxattr(to.constData(), name.constData(),
                                                     attribute_.constData(), size_t(length), 0);
        if (set != 0 && !unsupported(errno)) fail(errno, blamed);
    }

    // A new item already belongs to us and to our group, unless the folder passes its own on.
    bool needsOwner(const struct stat& st) const
    {
        return st.st_uid != user_ || st.st_gid != group_ || inheritsGroup_;
    }

    void applyMetadata(const WorkItem& item, Handles handles = {})
    {
        const QByteArray from = joined(source_, item.relative);
        const QByteArray to = temporaryPath(item);
        const QByteArray blamed = finalPath(item);
        const struct stat& st = item.st;
        const bool link = S_ISLNK(st.st_mode);
        const std::vector<QByteArray> names =
            link ? std::vector<QByteArray>{} : attributeNames(from, handles);
        // User attributes need write access, so they go on before the mode.
        for (const QByteArray& name : names)
            if (name.startsWith("user.")) copyAttribute(from, to, handles, name, blamed);
        // Ownership before the mode: chown clears set-id bits. Only root may give files away.
        if (needsOwner(st)) {
            const int owned = handles.open() ? ::fchown(handles.to, st.st_uid, st.st_gid)
                                             : ::lchown(to.constData(), st.st_uid, st.st_gid);
            if (owned != 0 && errno != EPERM) fail(errno, blamed);
        }
        if (!link) {
            const int moded = handles.open() ? ::fchmod(handles.to, st.st_mode & 07777)
                                             : ::chmod(to.constData(), st.st_mode & 07777);
            if (moded != 0) fail(errno, blamed);
        }
        for (const QByteArray& name : names)
            if (name.startsWith("system.posix_acl_"))
                copyAttribute(from, to, handles, name, blamed);
        const struct timespec times[2] = {st.st_atim, st.st_mtim};
        const int timed = handles.open()
                              ? ::futimens(handles.to, times)
                              : ::utimensat(AT_FDCWD, to.constData(), times, AT_SYMLINK_NOFOLLOW);
        if (timed != 0) fail(errno, blamed);
    }

    const QByteArray source_;
    TransferTemporaryItem& temporary_;
    const QByteArray target_;
    const TransferEngine::ProgressHandler& progress_;
    const CancelCheck& isCancelled_;
    std::vector<WorkItem> items_;
    qint64 bytes_ = 0;
    qint64 total_ = 0;
    std::optional<std::chrono::steady_clock::time_point> lastReport_;
    bool useKernelCopy_ = true;
    bool tryClone_ = true;
    bool inheritsGroup_ = false;
    const uid_t user_ = ::geteuid();
    const gid_t group_ = ::getegid();
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
            QCoreApplication::translate("TransferService",
                                        "\u201C%1\u201D can\u2019t be copied into itself or "
                                        "into a folder inside it.")
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
    ConflictResolver refuse;
    copyItem(source, destination, {progress, isCancelled, nullptr}, refuse);
}

TransferOutcome TransferService::copyItem(const QString& source, const QString& destination,
                                          const Handlers& handlers, ConflictResolver& conflicts,
                                          const BeforePlacing& check)
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

    checkNesting(resolved, folderPath, given);
    // A taken name is settled before any data moves; the answer holds at the
    // end unless the name changed hands meanwhile.
    QString targetName = name;
    std::optional<ConflictAnswer> preset;
    struct stat st, sourceSt;
    const QByteArray target = native(childPath(folder, name));
    if (::lstat(target.constData(), &st) == 0) {
        const bool sourceIsFolder =
            ::lstat(resolved.constData(), &sourceSt) == 0 && S_ISDIR(sourceSt.st_mode);
        const ConflictAnswer answer =
            conflicts.resolve({given, decoded(target), sourceIsFolder, S_ISDIR(st.st_mode)});
        if (answer == ConflictAnswer::Skip) return {};
        if (answer == ConflictAnswer::KeepBoth)
            targetName = FreeName::next(folder, name, sourceIsFolder);
        else
            preset = answer;
    }

    // What a copy killed here before left behind goes first.
    TransferTemporaryItem::removeStale(folderPath);
    TransferTemporaryItem temporary(folderPath);
    TreeCopy tree(resolved, temporary, native(childPath(folder, targetName)), handlers.progress,
                  handlers.isCancelled);
    tree.collect();
    tree.copyData();
    tree.copyMetadata();
    tree.flush();
    throwIfCancelled(handlers.isCancelled);
    if (check) check(decoded(temporary.path()));
    ItemPlacement placement(conflicts, handlers.isCancelled);
    placement.place(decoded(temporary.path()), given, folder, targetName, preset);
    // Placed whole: nothing left to remove. Merged or skipped: what is left goes.
    if (!placement.placed().isEmpty() && placement.merged().isEmpty()) temporary.keep();
    syncFolder(folderPath);
    tree.finish();
    return {placement.placed(), {}};
}

void TransferService::refuseNesting(const QString& source, const QString& folder)
{
    checkNesting(native(absolutePath(source)), native(absolutePath(folder)), source);
}

void TransferService::removeStaleTemporaryItems(const QString& folder)
{
    TransferTemporaryItem::removeStale(native(absolutePath(folder)));
}

TransferOutcome TransferService::perform(const Request& request, const Handlers& handlers)
{
    ConflictResolver refuse;
    ConflictResolver& conflicts = handlers.conflicts ? *handlers.conflicts : refuse;
    if (request.kind == TransferKind::Move)
        return ItemMove::move(request.source, request.destination, handlers, conflicts);
    return copyItem(request.source, request.destination, handlers, conflicts);
}

QFuture<TransferOutcome> TransferService::transfer(const Request& request, Handlers handlers)
{
    return executor_.run([=](const CancelCheck& futureCancelled) {
        Handlers own = handlers;
        own.isCancelled = [&] {
            return futureCancelled() || (handlers.isCancelled && handlers.isCancelled());
        };
        return perform(request, own);
    });
}

QFuture<void> TransferService::start(const QString& source, const QString& destination,
                                     ProgressHandler progress, CancelCheck isCancelled)
{
    return executor_.run([=](const CancelCheck& futureCancelled) {
        copy(source, destination, progress,
             [&] { return futureCancelled() || (isCancelled && isCancelled()); });
    });
}
