#include "tree_walker.h"

#include "directory_reader.h"
#include "native_path.h"
#include "path_names.h"
#include "unique_fd.h"

#include <QDir>
#include <cerrno>
#include <climits>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <fcntl.h>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace {

// One folder to read. Folders are read ahead by a helper thread while the
// walk visits earlier ones; the walk reads a folder itself when it gets there first.
struct Folder {
    enum class State { Queued, Reading, Done };
    QString path;
    QByteArray native;
    // Deep folders are opened relative to their parent's descriptor: their
    // whole path may be longer than the system takes (PATH_MAX).
    std::shared_ptr<UniqueFd> parent;
    QByteArray name;
    // This folder's own descriptor, kept only while its subfolders need it.
    std::shared_ptr<UniqueFd> self;
    std::vector<DirectoryReader::Child> children;
    // Decoded names and paths of the children, made by whoever read the folder
    // (not made at all for a walk that takes the names as bytes).
    std::vector<QString> names;
    std::vector<QString> paths;
    bool decode = true;
    bool readable = false;
    int error = 0;
    // Set before the folder is shared and never changed: the walk may read it without the lock.
    bool skipped = false;
    // Guarded by the read-ahead's lock once the folder is queued.
    State state = State::Queued;
};
using FolderPtr = std::shared_ptr<Folder>;

// True when a child's path could pass PATH_MAX (a name is at most 255 bytes).
bool childrenNeedDescriptor(const QByteArray& native)
{
    return native.size() + 1 + NAME_MAX >= PATH_MAX;
}

void readFolder(Folder& folder, bool includeHidden, bool followLink)
{
    const int fd = folder.parent
                       ? ::openat(folder.parent->get(), folder.name.constData(),
                                  O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC)
                       : DirectoryReader::openFolder(folder.native.constData(), followLink);
    folder.parent.reset();
    if (fd < 0) {
        folder.error = errno;
        return;
    }
    if (childrenNeedDescriptor(folder.native)) {
        // Without a spare descriptor the deep subfolders fail one by one, as any unreadable folder.
        if (const int kept = ::fcntl(fd, F_DUPFD_CLOEXEC, 0); kept >= 0)
            folder.self = std::make_shared<UniqueFd>(kept);
    }
    DirectoryReader reader(fd, includeHidden, DirectoryReader::Links::DontFollow);
    folder.readable = reader.read(folder.children);
    if (!folder.readable) {
        folder.error = errno;
        return;
    }
    if (!folder.decode) return;
    folder.names.reserve(folder.children.size());
    folder.paths.reserve(folder.children.size());
    const QString prefix = folder.path.endsWith(u'/') ? folder.path : folder.path + u'/';
    for (const DirectoryReader::Child& child : folder.children) {
        folder.names.push_back(decodePath(child.name));
        folder.paths.push_back(prefix + folder.names.back());
    }
}

class ReadAhead {
public:
    explicit ReadAhead(bool includeHidden) : includeHidden_(includeHidden)
    {
        const unsigned cores = std::thread::hardware_concurrency();
        for (unsigned i = 1; i < cores && i < 4; ++i)
            helpers_.emplace_back([this] { work(); });
    }
    ~ReadAhead()
    {
        {
            std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        wake_.notify_all();
        for (std::thread& helper : helpers_)
            helper.join();
    }

    void enqueue(std::vector<FolderPtr> folders)
    {
        if (helpers_.empty()) return;
        {
            std::lock_guard lock(mutex_);
            for (FolderPtr& folder : folders)
                queue_.push_back(std::move(folder));
        }
        wake_.notify_all();
    }

    // Makes sure `folder` has been read, reading it here if nobody has started.
    void await(Folder& folder)
    {
        std::unique_lock lock(mutex_);
        if (folder.state == Folder::State::Queued) {
            folder.state = Folder::State::Reading;
            lock.unlock();
            readFolder(folder, includeHidden_, false);
            lock.lock();
            folder.state = Folder::State::Done;
            return;
        }
        done_.wait(lock, [&] { return folder.state == Folder::State::Done; });
    }

private:
    void work()
    {
        std::unique_lock lock(mutex_);
        for (;;) {
            wake_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
            if (stopping_) return;
            // From the back: the folders the walk will reach last.
            FolderPtr folder = std::move(queue_.back());
            queue_.pop_back();
            if (folder->state != Folder::State::Queued) continue;
            folder->state = Folder::State::Reading;
            lock.unlock();
            readFolder(*folder, includeHidden_, false);
            lock.lock();
            folder->state = Folder::State::Done;
            done_.notify_all();
        }
    }

    bool includeHidden_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable done_;
    std::deque<FolderPtr> queue_;
    bool stopping_ = false;
    std::vector<std::thread> helpers_;
};

bool isVirtualTree(const QByteArray& native)
{
    return native == "/proc" || native == "/sys" || native == "/dev" || native == "/run";
}

QByteArray joined(const QByteArray& parent, const QByteArray& name)
{
    return parent.endsWith('/') ? parent + name : parent + '/' + name;
}

struct Frame {
    FolderPtr folder;
    std::vector<FolderPtr> subfolders; // in the order the walk will enter them
    std::size_t next = 0;
    std::size_t nextSubfolder = 0;
    std::uint32_t number = 0;
};

// The subfolders of a folder just read, handed to the read-ahead.
std::vector<FolderPtr> subfoldersOf(const Folder& folder)
{
    std::vector<FolderPtr> result;
    for (std::size_t i = 0; i < folder.children.size(); ++i) {
        const DirectoryReader::Child& child = folder.children[i];
        if (child.statFailed || !S_ISDIR(child.st.st_mode)) continue;
        auto sub = std::make_shared<Folder>();
        sub->decode = folder.decode;
        sub->native = joined(folder.native, child.name);
        if (folder.self) {
            sub->parent = folder.self;
            sub->name = child.name;
        }
        if (isVirtualTree(sub->native)) {
            sub->skipped = true;
            sub->state = Folder::State::Done; // so that no helper reads it
            sub->error = EPERM;
        } else if (folder.decode) {
            sub->path = folder.paths[i];
        }
        result.push_back(std::move(sub));
    }
    return result;
}

// The walk itself; `visit(folder, index, number)` sees each child of each folder, with
// the number of the folder holding it.
template <typename Visit>
void walkTree(const QString& root, bool includeHidden, bool decode, const CancelCheck& isCancelled,
              Visit&& visit)
{
    auto top = std::make_shared<Folder>();
    top->path = absolutePath(root);
    top->native = nativePath(top->path);
    top->decode = decode;
    readFolder(*top, includeHidden, true);
    if (!top->readable) {
        if (top->error == EACCES || top->error == EPERM)
            throw FileError(FileError::Code::FileReadNoPermission, top->path);
        throw FileError::fromErrno(top->error, top->path);
    }

    ReadAhead readAhead(includeHidden);
    std::vector<Frame> stack;
    std::uint32_t folders = 0;
    auto push = [&](FolderPtr folder, std::uint32_t number) {
        Frame frame;
        frame.subfolders = subfoldersOf(*folder);
        folder->self.reset(); // the subfolders hold it now
        readAhead.enqueue(frame.subfolders);
        frame.folder = std::move(folder);
        frame.number = number;
        stack.push_back(std::move(frame));
    };
    push(top, 0);

    while (!stack.empty()) {
        Frame& frame = stack.back();
        if (frame.next == frame.folder->children.size()) {
            stack.pop_back();
            continue;
        }
        throwIfCancelled(isCancelled);
        const std::size_t index = frame.next++;
        const DirectoryReader::Child& child = frame.folder->children[index];
        visit(*frame.folder, index, frame.number);
        if (child.statFailed || !S_ISDIR(child.st.st_mode)) continue;
        const std::uint32_t number = ++folders;
        FolderPtr sub = frame.subfolders[frame.nextSubfolder++];
        if (sub->skipped) continue;
        readAhead.await(*sub);
        if (sub->readable) push(std::move(sub), number); // invalidates `frame`
    }
}

} // namespace

void TreeWalker::walk(const QString& root, bool includeHidden, const Visitor& visit,
                      const CancelCheck& isCancelled)
{
    walkTree(root, includeHidden, true, isCancelled,
             [&](const Folder& folder, std::size_t index, std::uint32_t) {
                 const DirectoryReader::Child& child = folder.children[index];
                 visit(Item{folder.paths[index], folder.names[index],
                            child.statFailed ? nullptr : &child.st});
             });
}

void TreeWalker::walkRaw(const QString& root, bool includeHidden, const RawVisitor& visit,
                         const CancelCheck& isCancelled)
{
    walkTree(root, includeHidden, false, isCancelled,
             [&](const Folder& folder, std::size_t index, std::uint32_t number) {
                 const DirectoryReader::Child& child = folder.children[index];
                 visit(RawItem{number, child.name, child.statFailed ? nullptr : &child.st});
             });
}
