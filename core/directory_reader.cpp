#include "directory_reader.h"

#include "for_halves.h"

#include <QFile>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <optional>
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

// Hands each child's name, its length and its readdir kind to `add`, in one
// pass of getdents64 over `fd` straight into a buffer on the stack: no copy of
// the descriptor, no DIR to allocate. Returns nothing with errno set when the
// folder can't be read.
template <typename Add>
std::optional<HiddenList> eachName(int fd, bool includeHidden, const CancelCheck& isCancelled,
                                   Add add)
{
    alignas(struct dirent64) char buffer[32768];
    bool sawHiddenList = false;
    std::size_t seen = 0;
    for (;;) {
        const ssize_t got = ::getdents64(fd, buffer, sizeof buffer);
        if (got < 0) return std::nullopt;
        if (got == 0) break;
        for (ssize_t at = 0; at < got;) {
            const auto* entry = reinterpret_cast<const struct dirent64*>(buffer + at);
            at += entry->d_reclen;
            // A slot left by a removed entry, as readdir skips it.
            if (entry->d_ino == 0) continue;
            if (isCancelled && (seen++ & kCancelCheckEvery) == 0 && isCancelled())
                throw Cancelled();
            const char* name = entry->d_name;
            if (name[0] == '.') {
                if (name[1] == 0 || (name[1] == '.' && name[2] == 0)) continue;
                sawHiddenList = sawHiddenList || std::strcmp(name, ".hidden") == 0;
                if (!includeHidden) continue;
            }
            add(name, entry->d_type);
        }
    }
    return sawHiddenList && !includeHidden ? HiddenList::Seen : HiddenList::None;
}

} // namespace

bool DirectoryReader::read(std::vector<Child>& children, const CancelCheck& isCancelled)
{
    children.clear();
    const auto listed =
        eachName(fd_, includeHidden_, isCancelled, [&](const char* name, unsigned char type) {
            Child& child = children.emplace_back();
            child.name = QByteArray(name);
            child.type = type;
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
    bytes_.resize(0);
    starts_.resize(1);
    types_.clear();
}

void DirectoryReader::Names::trim()
{
    // Past a few thousand names the room is worth more given back than kept.
    if (types_.capacity() <= 4096) return;
    bytes_ = QByteArray();
    starts_ = {0};
    types_ = {};
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
    forHalves(count, [&](std::size_t from, std::size_t to) {
        statChildren(children + from, to - from, isCancelled);
    });
}

void DirectoryReader::stat(const Names& names, struct stat* stats, Folders folders,
                           const CancelCheck& isCancelled) const
{
    forHalves(std::size_t(names.size()), [&](std::size_t from, std::size_t to) {
        for (std::size_t i = from; i < to; ++i) {
            // Stops early; the caller throws once both halves are back.
            if (isCancelled && ((i - from) & kCancelCheckEvery) == 0 && isCancelled()) return;
            if (folders == Folders::ByKind && names.type(qsizetype(i)) == DT_DIR) {
                stats[i] = {};
                stats[i].st_mode = S_IFDIR;
            } else if (!statName(names.name(qsizetype(i)).data(), stats[i])) {
                stats[i].st_mode = 0;
            }
        }
    });
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
    child.statFailed = !statName(child.name.constData(), child.st);
}

bool DirectoryReader::statName(const char* name, struct stat& st) const
{
    const int flags = links_ == Links::Follow ? 0 : AT_SYMLINK_NOFOLLOW;
    if (::fstatat(fd_, name, &st, flags) == 0) return true;
    // A link that leads nowhere (gone, a loop, out of reach) still describes itself.
    return flags == 0 && ::fstatat(fd_, name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISLNK(st.st_mode);
}
