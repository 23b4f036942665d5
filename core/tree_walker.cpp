#include "tree_walker.h"

#include "directory_reader.h"

#include <QDir>

#include <cerrno>
#include <vector>

namespace {

struct Frame {
    QString path;
    QByteArray native;
    std::vector<DirectoryReader::Child> children;
    std::size_t next = 0;
};

bool isVirtualTree(const QByteArray& native)
{
    return native == "/proc" || native == "/sys" || native == "/dev" || native == "/run";
}

bool readFolder(Frame& frame, bool includeHidden, bool followLink)
{
    const int fd = DirectoryReader::openFolder(frame.native.constData(), followLink);
    if (fd < 0)
        return false;
    DirectoryReader reader(fd, includeHidden, DirectoryReader::Links::DontFollow);
    return reader.read(frame.children);
}

QString joined(const QString& parent, const QString& name)
{
    return parent.endsWith(u'/') ? parent + name : parent + u'/' + name;
}

} // namespace

void TreeWalker::walk(const QString& root, bool includeHidden, const Visitor& visit,
                      const CancelCheck& isCancelled)
{
    std::vector<Frame> stack;
    Frame top;
    top.path = QDir::cleanPath(QDir(root).absolutePath());
    top.native = top.path.toUtf8();
    if (!readFolder(top, includeHidden, true)) {
        const int error = errno;
        if (error == EACCES || error == EPERM)
            throw FileError(FileError::Code::FileReadNoPermission, top.path);
        throw FileError::fromErrno(error, top.path);
    }
    stack.push_back(std::move(top));

    while (!stack.empty()) {
        Frame& frame = stack.back();
        if (frame.next == frame.children.size()) {
            stack.pop_back();
            continue;
        }
        throwIfCancelled(isCancelled);
        DirectoryReader::Child& child = frame.children[frame.next++];
        const QString name = QString::fromUtf8(child.name);
        const QString path = joined(frame.path, name);
        visit(Item{path, name, child.statFailed ? nullptr : &child.st});
        if (child.statFailed || !S_ISDIR(child.st.st_mode))
            continue;
        Frame sub;
        sub.native = frame.native.endsWith('/') ? frame.native + child.name
                                                : frame.native + '/' + child.name;
        if (isVirtualTree(sub.native))
            continue;
        sub.path = path;
        if (readFolder(sub, includeHidden, false))
            stack.push_back(std::move(sub)); // invalidates `frame`
    }
}
