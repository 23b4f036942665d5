#include "storage_tree.h"

#include "code_point_order.h"
#include "serial_executor.h"

#include <QDir>
#include <QHash>
#include <algorithm>

namespace {

// A node while the tree grows. Children are found by their name, a view into
// the child's own path, so no name is stored twice.
struct Branch {
    explicit Branch(QString p) : path(std::move(p)) {}

    QString path;
    qint64 bytes = 0;
    qint64 count = 0;
    bool directory = true;
    std::vector<std::unique_ptr<Branch>> children;
    QHash<QStringView, Branch*> byName;

    Branch* child(QStringView name, const QString& fullPath, qsizetype end)
    {
        if (Branch* found = byName.value(name)) return found;
        // The entry's own path string is shared when the child is the whole of it.
        auto made =
            std::make_unique<Branch>(end == fullPath.size() ? fullPath : fullPath.left(end));
        Branch* raw = made.get();
        byName.insert(QStringView(raw->path).right(name.size()), raw);
        children.push_back(std::move(made));
        return raw;
    }
};

QStringView lastComponent(QStringView path)
{
    return path.mid(path.lastIndexOf(u'/') + 1);
}

// Frees each branch as soon as its node exists, so the two trees never
// coexist whole.
std::shared_ptr<const StorageNode> freeze(std::unique_ptr<Branch> branch)
{
    if (!branch->directory)
        return std::make_shared<const StorageNode>(std::move(branch->path), branch->bytes,
                                                   branch->count, std::nullopt);
    branch->byName.clear();
    auto branches = std::move(branch->children);
    StorageNode::Children children;
    children.reserve(branches.size());
    for (auto& child : branches)
        children.push_back(freeze(std::move(child)));
    std::stable_sort(children.begin(), children.end(), [](const auto& a, const auto& b) {
        if (a->bytes() != b->bytes()) return a->bytes() > b->bytes();
        return codePointLess(a->nameView(), b->nameView());
    });
    return std::make_shared<const StorageNode>(std::move(branch->path), branch->bytes,
                                               branch->count, std::move(children));
}

// Paths from a scan are already clean; only the others pay for cleaning.
bool isClean(QStringView path)
{
    if (!path.startsWith(u'/')) return false;
    if (path.size() > 1 && path.endsWith(u'/')) return false;
    // Look at each component start for "", "." and "..".
    for (qsizetype i = 0; i < path.size(); ++i) {
        if (path[i] != u'/') continue;
        const QStringView rest = path.mid(i + 1);
        if (rest.startsWith(u'/')) return false;
        if (rest == u"." || rest.startsWith(u"./") || rest == u".." || rest.startsWith(u"../"))
            return false;
    }
    return true;
}

QString standardized(const QString& path)
{
    if (isClean(path)) return path;
    return QDir::cleanPath(QDir::isAbsolutePath(path) ? path : QDir::root().absoluteFilePath(path));
}

} // namespace

struct StorageTree::Builder::State {
    std::unique_ptr<Branch> top;
    QString prefix;
    // The folders above the last file placed: a walk lists a folder's files together.
    QString lastParent;
    std::vector<Branch*> lastChain;
};

StorageTree::Builder::Builder(const QString& root) : state_(std::make_unique<State>())
{
    state_->top = std::make_unique<Branch>(standardized(QDir(root).absolutePath()));
    const QString& top = state_->top->path;
    state_->prefix = top == u"/" ? top : top + u'/';
}

StorageTree::Builder::~Builder() = default;

void StorageTree::Builder::add(const QString& original, qint64 size)
{
    State& s = *state_;
    const QString path = standardized(original);
    if (!path.startsWith(s.prefix) || path.size() == s.prefix.size()) return;
    const qsizetype slash = path.lastIndexOf(u'/');
    const QStringView parent = QStringView(path).left(slash);
    if (s.lastChain.empty() || parent != s.lastParent) {
        s.lastChain.assign(1, s.top.get());
        for (qsizetype start = s.prefix.size(); start <= slash;) {
            const qsizetype end = path.indexOf(u'/', start);
            if (end < 0 || end > slash) break;
            s.lastChain.push_back(
                s.lastChain.back()->child(QStringView(path).mid(start, end - start), path, end));
            start = end + 1;
        }
        s.lastParent = parent.toString();
    }
    Branch* folder = s.lastChain.back();
    const QStringView name = lastComponent(path);
    if (Branch* existing = folder->byName.value(name); existing && !existing->directory)
        return; // each file counts once
    Branch* leaf = folder->child(name, path, path.size());
    for (Branch* node : s.lastChain) {
        node->bytes += size;
        node->count += 1;
    }
    leaf->bytes += size;
    leaf->count += 1;
    leaf->directory = false;
}

std::shared_ptr<const StorageNode> StorageTree::Builder::finish()
{
    state_->lastChain.clear();
    return freedInBackground(freeze(std::move(state_->top)));
}

namespace {
// Large trees are freed on one thread of our own: its hand-over goes through
// locks the thread checker can see, unlike a Qt pool's.
SerialExecutor& releaser()
{
    static SerialExecutor executor;
    return executor;
}
} // namespace

std::shared_ptr<const StorageNode>
StorageTree::freedInBackground(std::shared_ptr<const StorageNode> root)
{
    // Freeing a tree of a few thousand nodes costs less than a thread hop.
    if (!root || root->fileCount() < kFreedInBackgroundFrom) return root;
    const StorageNode* top = root.get();
    // Whoever lets go last, often the window's thread, only hands the tree
    // over: freeing a million nodes takes that thread a few hundred milliseconds.
    return {top, [held = std::move(root)](const StorageNode*) mutable {
                releaser().run(
                    [tree = std::move(held)](const CancelCheck&) mutable { tree.reset(); });
            }};
}

void StorageTree::waitForFreeing()
{
    releaser().run([](const CancelCheck&) {}).waitForFinished();
}

std::shared_ptr<const StorageNode> StorageTree::build(const QList<FileEntry>& files,
                                                      const QString& root,
                                                      const CancelCheck& isCancelled)
{
    Builder builder(root);
    for (const FileEntry& entry : files) {
        if (entry.isDirectory) continue;
        throwIfCancelled(isCancelled);
        builder.add(entry.path, entry.size);
    }
    return builder.finish();
}
