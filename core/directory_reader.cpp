#include "directory_reader.h"

#include <QFile>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <optional>
#include <thread>
#include <unistd.h>

DirectoryReader::DirectoryReader(int dirfd, bool includeHidden, Links links)
    : fd_(dirfd), includeHidden_(includeHidden), links_(links)
{
}

DirectoryReader::~DirectoryReader()
{
    if (fd_ >= 0) ::close(fd_);
}

int DirectoryReader::openFolder(const char* path, bool followLink)
{
    int flags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;
    if (!followLink) flags |= O_NOFOLLOW;
    return ::open(path, flags);
}

QSet<QByteArray> DirectoryReader::hiddenNames() const
{
    QSet<QByteArray> names;
    const int fd = ::openat(fd_, ".hidden", O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0) return names;
    QFile file;
    if (file.open(fd, QIODevice::ReadOnly, QFile::AutoCloseHandle)) {
        // A stray huge file is not a list of names.
        const QByteArray text = file.read(1 << 20);
        for (const QByteArray& line : text.split('\n'))
            if (!line.isEmpty()) names.insert(line);
    } else {
        ::close(fd);
    }
    return names;
}

namespace {
// How often a long read asks whether it is still wanted (a mask: every 4,096 names).
constexpr std::size_t kCancelCheckEvery = 0xfff;

// Whether a folder read without its hidden names had a ".hidden" list to apply.
enum class HiddenList { None, Seen };

// Hands each child's name and readdir kind to `add`, in one readdir pass over
// a copy of `fd`. Returns nothing with errno set when the folder can't be read.
template <typename Add>
std::optional<HiddenList> eachName(int fd, bool includeHidden, const CancelCheck& isCancelled,
                                   Add add)
{
    const int dupfd = ::dup(fd);
    if (dupfd < 0) return std::nullopt;
    DIR* dir = ::fdopendir(dupfd);
    if (!dir) {
        const int error = errno;
        ::close(dupfd);
        errno = error;
        return std::nullopt;
    }
    bool sawHiddenList = false;
    std::size_t seen = 0;
    errno = 0;
    while (struct dirent* entry = ::readdir(dir)) {
        if (isCancelled && (seen++ & kCancelCheckEvery) == 0 && isCancelled()) {
            ::closedir(dir);
            throw Cancelled();
        }
        const char* name = entry->d_name;
        if (name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0))) continue;
        if (name[0] == '.') {
            sawHiddenList = sawHiddenList || std::strcmp(name, ".hidden") == 0;
            if (!includeHidden) continue;
        }
        add(name, entry->d_type);
    }
    const int readError = errno;
    ::closedir(dir);
    if (readError != 0) {
        errno = readError;
        return std::nullopt;
    }
    return sawHiddenList && !includeHidden ? HiddenList::Seen : HiddenList::None;
}

} // namespace

bool DirectoryReader::read(std::vector<Child>& children, const CancelCheck& isCancelled)
{
    children.clear();
    const auto listed =
        eachName(fd_, includeHidden_, isCancelled, [&](const char* name, unsigned char type) {
            Child child;
            child.name = QByteArray(name);
            child.type = type;
            children.push_back(std::move(child));
        });
    if (!listed) return false;
    if (*listed == HiddenList::Seen) {
        const QSet<QByteArray> hidden = hiddenNames();
        std::erase_if(children, [&](const Child& c) { return hidden.contains(c.name); });
    }
    stat(children.data(), children.size(), isCancelled);
    throwIfCancelled(isCancelled);
    return true;
}

void DirectoryReader::Names::add(const char* name, unsigned char type)
{
    bytes_.append(name, qsizetype(std::strlen(name)) + 1);
    starts_.push_back(bytes_.size());
    types_.push_back(type);
}

void DirectoryReader::Names::clear()
{
    bytes_.clear();
    starts_.assign(1, 0);
    types_.clear();
}

bool DirectoryReader::readNames(Names& children, const CancelCheck& isCancelled)
{
    children.clear();
    const auto listed =
        eachName(fd_, includeHidden_, isCancelled,
                 [&](const char* name, unsigned char type) { children.add(name, type); });
    if (!listed) return false;
    if (*listed == HiddenList::Seen) {
        const QSet<QByteArray> hidden = hiddenNames();
        Names shown;
        for (qsizetype i = 0; i < children.size(); ++i) {
            const QByteArrayView name = children.name(i);
            if (!hidden.contains(QByteArray::fromRawData(name.data(), name.size())))
                shown.add(name.data(), children.type(i));
        }
        children = std::move(shown);
    }
    throwIfCancelled(isCancelled);
    return true;
}

void DirectoryReader::stat(Child* children, std::size_t count, const CancelCheck& isCancelled) const
{
    // Many children are looked at from two threads: the stat calls are most of the time.
    const std::size_t half = count / 2;
    if (count >= 4096 && std::thread::hardware_concurrency() > 1) {
        std::thread helper([&] { statChildren(children + half, count - half, isCancelled); });
        statChildren(children, half, isCancelled);
        helper.join();
    } else {
        statChildren(children, count, isCancelled);
    }
}

void DirectoryReader::statChildren(Child* children, std::size_t count,
                                   const CancelCheck& isCancelled) const
{
    for (Child* child = children; child != children + count; ++child) {
        // Stops early; the reader throws once both halves are back.
        if (isCancelled && ((child - children) & kCancelCheckEvery) == 0 && isCancelled()) return;
        stat(*child);
    }
}

void DirectoryReader::stat(Child& child) const
{
    if (child.hasStat) return;
    child.hasStat = true;
    const int flags = links_ == Links::Follow ? 0 : AT_SYMLINK_NOFOLLOW;
    if (::fstatat(fd_, child.name.constData(), &child.st, flags) == 0) return;
    // A link that leads nowhere (gone, a loop, out of reach) still describes itself.
    if (flags == 0 && ::fstatat(fd_, child.name.constData(), &child.st, AT_SYMLINK_NOFOLLOW) == 0 &&
        S_ISLNK(child.st.st_mode))
        return;
    child.statFailed = true;
}
