#include "tree_walker.h"

#include "directory_reader.h"
#include "native_path.h"
#include "path_names.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <condition_variable>
#include <cstdint>
#include <fcntl.h>
#include <memory>
#include <mutex>
#include <sys/resource.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

// Folders kept open for their subfolders at once, past which subfolders are
// opened by their whole path instead (a wide tree read far ahead): at most a
// quarter of what the process may open, the rest being its callers'.
int keptDescriptorBudget()
{
    struct rlimit limit;
    if (::getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) return 256;
    return int(std::min<rlim_t>(256, limit.rlim_cur / 4));
}

// One folder to read. Folders are read ahead by a helper thread while the walk
// visits earlier ones; the walk reads a folder itself when it gets there first.
// Folders are reused from one part of the tree to the next, keeping their room.
struct Folder {
    enum State : int { Queued, Reading, Done };

    // Where it is: its parent, which outlives its reading, and its place among
    // the parent's children. Set by the walk before the folder is queued.
    Folder* parent = nullptr;
    std::size_t index = 0;
    qsizetype nativeLength = 0;
    QString path;
    // A kernel tree, never queued nor read. The walk's own.
    bool skipped = false;

    // What the read found.
    DirectoryReader::Names names;
    // One per name; st_mode 0 when the child couldn't be looked at.
    // Reused from one folder to the next without being cleared.
    std::unique_ptr<struct stat[]> stats;
    std::size_t statRoom = 0;
    std::size_t count = 0;
    // Decoded names and paths of the children (only for a walk that decodes them).
    std::vector<QString> decodedNames;
    std::vector<QString> paths;
    bool readable = false;
    int error = 0;
    // Kept open while subfolders are still to be opened from it: `unopened` counts them
    // and whoever opens the last one closes it.
    int fd = -1;
    std::atomic<int> unopened = 0;

    // The walk's own: the subfolders, in the order the walk will enter them.
    std::vector<Folder*> subfolders;
    std::atomic<int> state = Done;

    QByteArrayView nameOf(std::size_t child) const { return names.name(qsizetype(child)); }
    bool isFolder(std::size_t child) const { return S_ISDIR(stats[child].st_mode); }
};

bool isVirtualTree(QByteArrayView name)
{
    return name == "proc" || name == "sys" || name == "dev" || name == "run";
}

// True when a child's path could pass PATH_MAX (a name is at most 255 bytes).
bool childrenNeedDescriptor(qsizetype nativeLength)
{
    return nativeLength + 1 + NAME_MAX >= PATH_MAX;
}

// The state of one walk shared by the walk and its helpers.
class Walk {
public:
    Walk(const QString& root, bool includeHidden, bool decode)
        : includeHidden_(includeHidden), decode_(decode),
          folders_(decode ? DirectoryReader::Folders::Stat : DirectoryReader::Folders::ByKind)
    {
        top_ = acquire();
        top_->path = absolutePath(root);
        rootNative_ = nativePath(top_->path);
        top_->nativeLength = rootNative_.size();
    }
    ~Walk()
    {
        stopHelpers();
        for (const std::unique_ptr<Folder>& folder : all_)
            closeKept(*folder);
    }
    Walk(const Walk&) = delete;
    Walk& operator=(const Walk&) = delete;

    Folder* top() const { return top_; }

    // A folder to fill in, from those done with when there are any.
    Folder* acquire()
    {
        if (free_.empty()) {
            all_.push_back(std::make_unique<Folder>());
            return all_.back().get();
        }
        Folder* folder = free_.back();
        free_.pop_back();
        return folder;
    }

    // Once the walk has left `folder` and all below it.
    void release(Folder* folder)
    {
        closeKept(*folder);
        folder->fd = -1;
        folder->names.clear();
        folder->names.trim();
        folder->count = 0;
        folder->decodedNames.clear();
        folder->paths.clear();
        folder->subfolders.clear();
        // Past a few thousand children the room is worth more given back than kept.
        if (folder->statRoom > 4096) {
            folder->stats.reset();
            folder->statRoom = 0;
            folder->decodedNames.shrink_to_fit();
            folder->paths.shrink_to_fit();
        }
        free_.push_back(folder);
    }

    // The subfolders of a folder the walk enters, queued for the helpers.
    void prepareSubfolders(Folder& folder)
    {
        const bool atSystemRoot = &folder == top_ && rootNative_ == "/";
        for (std::size_t i = 0; i < folder.count; ++i) {
            if (!folder.isFolder(i)) continue;
            Folder* sub = acquire();
            sub->parent = &folder;
            sub->index = i;
            sub->nativeLength =
                folder.nativeLength + (folder.nativeLength == 1 ? 0 : 1) + folder.nameOf(i).size();
            sub->readable = false;
            sub->error = 0;
            sub->skipped = atSystemRoot && isVirtualTree(folder.nameOf(i));
            if (sub->skipped) {
                if (folders_ == DirectoryReader::Folders::ByKind) lookAtUnopened(*sub);
            } else {
                if (decode_) sub->path = folder.paths[i];
                // A helper may still hold this folder from an earlier use: what
                // was set above is seen by whoever takes it from Queued.
                sub->state.store(Folder::Queued, std::memory_order_release);
            }
            folder.subfolders.push_back(sub);
        }
    }

    // Reads the top folder, following it when it is a link.
    void readTop() { read(*top_, {}); }

    // Makes sure `folder` has been read, reading it here if no helper has started.
    void await(Folder& folder)
    {
        int state = folder.state.load(std::memory_order_acquire);
        if (state == Folder::Queued && folder.state.compare_exchange_strong(
                                           state, Folder::Reading, std::memory_order_acquire)) {
            read(folder, {});
            folder.state.store(Folder::Done, std::memory_order_release);
            return;
        }
        while ((state = folder.state.load(std::memory_order_acquire)) != Folder::Done)
            folder.state.wait(state, std::memory_order_acquire);
    }

    // Hands the queued subfolders of `folder` to the helpers, the last first.
    void readAhead(const Folder& folder)
    {
        if (folder.subfolders.empty()) return;
        if (!helpersStarted_) startHelpers();
        if (helpers_.empty()) return;
        {
            std::lock_guard lock(mutex_);
            for (Folder* sub : folder.subfolders)
                if (sub->state.load(std::memory_order_relaxed) == Folder::Queued)
                    queue_.push_back(sub);
        }
        wake_.notify_one();
    }

private:
    void startHelpers()
    {
        const unsigned cores = std::thread::hardware_concurrency();
        for (unsigned i = 1; i < cores && i < 4; ++i)
            helpers_.emplace_back([this] { work(); });
        helpersStarted_ = true;
    }

    void stopHelpers()
    {
        {
            std::lock_guard lock(mutex_);
            stopping_.store(true, std::memory_order_relaxed);
        }
        wake_.notify_all();
        for (std::thread& helper : helpers_)
            helper.join();
    }

    void work()
    {
        const CancelCheck stopping = [this] { return stopping_.load(std::memory_order_relaxed); };
        std::unique_lock lock(mutex_);
        for (;;) {
            wake_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
            if (stopping_) return;
            // From the back: the folders the walk will reach last. An entry the
            // walk got to first (or has since reused) is passed over.
            Folder* folder = queue_.back();
            queue_.pop_back();
            int state = Folder::Queued;
            if (!folder->state.compare_exchange_strong(state, Folder::Reading,
                                                       std::memory_order_acquire))
                continue;
            lock.unlock();
            try {
                read(*folder, stopping);
            } catch (const Cancelled&) {
                folder->readable = false;
            }
            folder->state.store(Folder::Done, std::memory_order_release);
            folder->state.notify_all();
            lock.lock();
        }
    }

    QByteArray nativeOf(const Folder& folder) const
    {
        if (!folder.parent) return rootNative_;
        QByteArray parent = nativeOf(*folder.parent);
        if (!parent.endsWith('/')) parent += '/';
        return parent + folder.parent->nameOf(folder.index).toByteArray();
    }

    int open(const Folder& folder)
    {
        if (!folder.parent) return DirectoryReader::openFolder(rootNative_.constData(), true);
        Folder& parent = *folder.parent;
        const int fd = parent.fd >= 0
                           ? ::openat(parent.fd, parent.nameOf(folder.index).data(),
                                      O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC)
                           : DirectoryReader::openFolder(nativeOf(folder).constData(), false);
        const int error = errno;
        if (fd < 0 && folders_ == DirectoryReader::Folders::ByKind) lookAtUnopened(folder);
        if (parent.fd >= 0 && parent.unopened.fetch_sub(1, std::memory_order_acq_rel) == 1) {
            ::close(parent.fd);
            kept_.fetch_sub(1, std::memory_order_relaxed);
        }
        errno = error;
        return fd;
    }

    // A folder readdir named but that couldn't be opened: what it is now (gone,
    // replaced, or a folder out of reach) decides how the walk shows it. Its
    // parent's stat of it is the walk's to read only once this folder is Done.
    void lookAtUnopened(const Folder& folder) const
    {
        Folder& parent = *folder.parent;
        struct stat& st = parent.stats[folder.index];
        const int found = parent.fd >= 0 ? ::fstatat(parent.fd, parent.nameOf(folder.index).data(),
                                                     &st, AT_SYMLINK_NOFOLLOW)
                                         : ::lstat(nativeOf(folder).constData(), &st);
        if (found != 0) st.st_mode = 0;
    }

    void closeKept(Folder& folder)
    {
        if (folder.fd >= 0 && folder.unopened.load(std::memory_order_acquire) > 0) {
            ::close(folder.fd);
            kept_.fetch_sub(1, std::memory_order_relaxed);
        }
    }

    void read(Folder& folder, const CancelCheck& stop)
    {
        folder.fd = -1;
        const int fd = open(folder);
        if (fd < 0) {
            folder.error = errno;
            return;
        }
        DirectoryReader reader(fd, includeHidden_, DirectoryReader::Links::DontFollow);
        folder.readable = reader.readNames(folder.names, stop);
        if (!folder.readable) {
            folder.error = errno;
            return;
        }
        const std::size_t count = std::size_t(folder.names.size());
        if (count > folder.statRoom) {
            folder.stats = std::make_unique_for_overwrite<struct stat[]>(count);
            folder.statRoom = count;
        }
        reader.stat(folder.names, folder.stats.get(), folders_, stop);
        folder.count = count;
        throwIfCancelled(stop);

        // Kept for the subfolders, unless too many are kept already; deep
        // folders always: their children can't be opened by path.
        int subfolders = 0;
        for (std::size_t i = 0; i < count; ++i)
            subfolders += folder.isFolder(i) ? 1 : 0;
        if (subfolders > 0 && (childrenNeedDescriptor(folder.nativeLength) ||
                               kept_.load(std::memory_order_relaxed) < keptBudget_)) {
            folder.unopened.store(subfolders, std::memory_order_relaxed);
            folder.fd = reader.releaseDescriptor();
            kept_.fetch_add(1, std::memory_order_relaxed);
        }
        if (!decode_) return;
        folder.decodedNames.reserve(count);
        folder.paths.reserve(count);
        const QString prefix = folder.path.endsWith(u'/') ? folder.path : folder.path + u'/';
        for (std::size_t i = 0; i < count; ++i) {
            folder.decodedNames.push_back(decodePath(folder.nameOf(i)));
            folder.paths.push_back(prefix + folder.decodedNames.back());
        }
    }

    bool includeHidden_;
    bool decode_;
    // A walk without text takes folders at readdir's word: it needs only their kind.
    DirectoryReader::Folders folders_;
    QByteArray rootNative_;
    Folder* top_ = nullptr;
    // Every folder made, and those free to reuse (the walk's own).
    std::vector<std::unique_ptr<Folder>> all_;
    std::vector<Folder*> free_;
    const int keptBudget_ = keptDescriptorBudget();
    std::atomic<int> kept_ = 0;

    std::mutex mutex_;
    std::condition_variable wake_;
    // May hold folders already read or reused: the helpers pass those over.
    std::vector<Folder*> queue_;
    std::atomic<bool> stopping_ = false;
    std::vector<std::thread> helpers_;
    bool helpersStarted_ = false;
};

struct Frame {
    Folder* folder;
    std::size_t next = 0;
    std::size_t nextSubfolder = 0;
    std::uint32_t number = 0;
};

// The walk itself; `visit(folder, index, number)` sees each child of each folder, with
// the number of the folder holding it.
template <typename Visit>
void walkTree(const QString& root, bool includeHidden, bool decode, const CancelCheck& isCancelled,
              Visit&& visit)
{
    Walk walk(root, includeHidden, decode);
    Folder* top = walk.top();
    walk.readTop();
    if (!top->readable) {
        if (top->error == EACCES || top->error == EPERM)
            throw FileError(FileError::Code::FileReadNoPermission, top->path);
        throw FileError::fromErrno(top->error, top->path);
    }

    std::vector<Frame> stack;
    std::uint32_t folders = 0;
    auto push = [&](Folder* folder, std::uint32_t number) {
        walk.prepareSubfolders(*folder);
        walk.readAhead(*folder);
        stack.push_back(Frame{folder, 0, 0, number});
    };
    push(top, 0);

    while (!stack.empty()) {
        Frame& frame = stack.back();
        Folder& folder = *frame.folder;
        if (frame.next == folder.count) {
            walk.release(frame.folder);
            stack.pop_back();
            continue;
        }
        throwIfCancelled(isCancelled);
        const std::size_t index = frame.next++;
        // A subfolder is read before it is shown: one that couldn't be opened
        // may since have gone or become something else.
        Folder* sub = nullptr;
        if (frame.nextSubfolder < folder.subfolders.size() &&
            folder.subfolders[frame.nextSubfolder]->index == index) {
            sub = folder.subfolders[frame.nextSubfolder++];
            if (!sub->skipped) walk.await(*sub);
        }
        visit(folder, index, frame.number);
        if (!sub) continue;
        if (!folder.isFolder(index)) {
            walk.release(sub);
            continue;
        }
        const std::uint32_t number = ++folders;
        if (sub->readable)
            push(sub, number); // invalidates `frame`
        else
            walk.release(sub);
    }
}

const struct stat* statOf(const Folder& folder, std::size_t index)
{
    return folder.stats[index].st_mode == 0 ? nullptr : &folder.stats[index];
}

} // namespace

void TreeWalker::walk(const QString& root, bool includeHidden, const Visitor& visit,
                      const CancelCheck& isCancelled)
{
    walkTree(
        root, includeHidden, true, isCancelled,
        [&](const Folder& folder, std::size_t index, std::uint32_t) {
            visit(Item{folder.paths[index], folder.decodedNames[index], statOf(folder, index)});
        });
}

void TreeWalker::walkRaw(const QString& root, bool includeHidden, const RawVisitor& visit,
                         const CancelCheck& isCancelled)
{
    walkTree(root, includeHidden, false, isCancelled,
             [&](const Folder& folder, std::size_t index, std::uint32_t number) {
                 visit(RawItem{number, folder.nameOf(index), statOf(folder, index)});
             });
}
