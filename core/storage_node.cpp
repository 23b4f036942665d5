#include "storage_node.h"

#include <QCoreApplication>

QStringView StorageNode::nameView() const
{
    if (path_ == u"/") return path_;
    return QStringView(path_).mid(path_.lastIndexOf(u'/') + 1);
}

QString StorageNode::name() const
{
    if (path_ == u"/") return QCoreApplication::translate("StorageNode", "This Computer");
    return nameView().toString();
}

const StorageNode* StorageNode::find(QStringView path) const
{
    if (path == path_) return this;
    // Only paths under our prefix can be below; "/rx/y" is not under "/r".
    const bool isRoot = path_ == u"/";
    if (!path.startsWith(path_) ||
        (!isRoot && (path.size() <= path_.size() || path[path_.size()] != u'/')))
        return nullptr;
    if (!children_) return nullptr;
    for (const auto& child : *children_)
        if (const StorageNode* found = child->find(path)) return found;
    return nullptr;
}
