#include "disk_tree.h"

#include "code_point_order.h"
#include "native_path.h"
#include "path_names.h"
#include "tree_walker.h"

#include <algorithm>
#include <deque>
#include <sys/stat.h>

namespace {

// A folder met by the walk, numbered as the walk numbers it.
struct Folder {
    std::uint32_t parent;
    QString path;
    qint64 bytes = 0;
    qint64 count = 0;
    // Its files as finished nodes and, once frozen, its subfolders too.
    StorageNode::Children children;
};

void sortChildren(StorageNode::Children& children)
{
    std::stable_sort(children.begin(), children.end(), [](const auto& a, const auto& b) {
        if (a->bytes() != b->bytes()) return a->bytes() > b->bytes();
        return codePointLess(a->nameView(), b->nameView());
    });
}

} // namespace

std::shared_ptr<const StorageNode> DiskTree::build(const QString& root,
                                                   const CancelCheck& isCancelled,
                                                   const std::function<void(qint64)>& progress)
{
    std::deque<Folder> folders;
    folders.push_back(Folder{0, absolutePath(root), 0, 0, {}});
    qint64 seen = 0;
    TreeWalker::walkRaw(
        root, false,
        [&](const TreeWalker::RawItem& item) {
            if (progress && (++seen & 0xfff) == 0) progress(seen);
            if (!item.st) return;
            Folder& folder = folders[item.folder];
            const QString path = childPath(folder.path, decodePath(item.name));
            if (S_ISDIR(item.st->st_mode)) {
                folders.push_back(Folder{item.folder, path, 0, 0, {}});
                return;
            }
            const qint64 size = std::max<qint64>(0, item.st->st_size);
            folder.children.push_back(
                std::make_shared<const StorageNode>(path, size, 1, std::nullopt));
            for (std::uint32_t at = item.folder;; at = folders[at].parent) {
                folders[at].bytes += size;
                folders[at].count += 1;
                if (at == 0) break;
            }
        },
        isCancelled);

    // Children come after their parents: freezing from the back finishes each
    // folder before its parent takes it. Folders holding no file are left out.
    for (std::size_t at = folders.size() - 1; at > 0; --at) {
        Folder& folder = folders[at];
        if (folder.count == 0) continue;
        sortChildren(folder.children);
        folders[folder.parent].children.push_back(std::make_shared<const StorageNode>(
            std::move(folder.path), folder.bytes, folder.count, std::move(folder.children)));
        folder.children = {};
    }
    Folder& top = folders.front();
    sortChildren(top.children);
    return std::make_shared<const StorageNode>(std::move(top.path), top.bytes, top.count,
                                               std::move(top.children));
}
