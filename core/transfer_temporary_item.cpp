#include "transfer_temporary_item.h"

#include <QUuid>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <vector>

namespace {

constexpr time_t kInstantItemAge = 60;

QByteArray freshName()
{
    return QByteArray(TransferTemporaryItem::kPrefix) +
           QUuid::createUuid().toByteArray(QUuid::WithoutBraces).toUpper();
}

bool lockable(const struct stat& st)
{
    return S_ISDIR(st.st_mode) || S_ISREG(st.st_mode);
}

bool sameItem(const struct stat& a, const struct stat& b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// The item's lock, when it is free and the name still leads to the item that was locked.
UniqueFd takeLock(int parent, const char* name)
{
    UniqueFd fd(::openat(parent, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    if (!fd.valid() || ::flock(fd.get(), LOCK_EX | LOCK_NB) != 0) return {};
    struct stat held, named;
    if (::fstat(fd.get(), &held) != 0 ||
        ::fstatat(parent, name, &named, AT_SYMLINK_NOFOLLOW) != 0 || !sameItem(held, named))
        return {};
    return fd;
}

} // namespace

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

TransferTemporaryItem::TransferTemporaryItem(QByteArray folder) : folder_(std::move(folder))
{
    renew();
}

TransferTemporaryItem::~TransferTemporaryItem()
{
    if (!path_.isEmpty()) removeTreeAt(AT_FDCWD, path_.constData());
}

void TransferTemporaryItem::renew()
{
    lock_.reset();
    path_ = folder_.endsWith('/') ? folder_ + freshName() : folder_ + '/' + freshName();
}

bool TransferTemporaryItem::lock()
{
    struct stat st;
    if (::lstat(path_.constData(), &st) != 0) return false;
    if (!lockable(st)) return true;
    lock_ = takeLock(AT_FDCWD, path_.constData());
    return lock_.valid();
}

void TransferTemporaryItem::keep()
{
    path_.clear();
    lock_.reset();
}

void TransferTemporaryItem::removeStale(const QByteArray& folder)
{
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    DIR* dir = ::fdopendir(fd);
    if (!dir) {
        ::close(fd);
        return;
    }
    std::vector<QByteArray> names;
    while (const struct dirent* entry = ::readdir(dir))
        if (QByteArray::fromRawData(entry->d_name, qsizetype(std::strlen(entry->d_name)))
                .startsWith(kPrefix))
            names.emplace_back(entry->d_name);
    const time_t now = std::time(nullptr);
    for (const QByteArray& name : names) {
        struct stat st;
        if (::fstatat(fd, name.constData(), &st, AT_SYMLINK_NOFOLLOW) != 0) continue;
        if (!lockable(st)) {
            if (now - st.st_ctim.tv_sec > kInstantItemAge) ::unlinkat(fd, name.constData(), 0);
            continue;
        }
        // Held while the tree goes, so a copy that made the item a moment ago
        // and locks it now sees that it lost it.
        const UniqueFd held = takeLock(fd, name.constData());
        if (held.valid()) removeTreeAt(fd, name.constData());
    }
    ::closedir(dir);
}
