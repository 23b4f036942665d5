#pragma once

#include <QString>
#include <memory>
#include <optional>
#include <vector>

// One folder or file of a storage hierarchy with the bytes and files at or
// below it. Nodes are immutable once built and may be shared across threads.
class StorageNode {
public:
    using Children = std::vector<std::shared_ptr<const StorageNode>>;

    StorageNode(QString path, qint64 bytes, qint64 fileCount, std::optional<Children> children)
        : path_(std::move(path)), bytes_(bytes), fileCount_(fileCount),
          children_(std::move(children))
    {
    }

    const QString& path() const { return path_; }
    const QString& id() const { return path_; }
    // "This Computer" for "/", otherwise the last path component.
    QString name() const;
    // The last component without a copy ("/" for the root folder).
    QStringView nameView() const;
    qint64 bytes() const { return bytes_; }
    qint64 fileCount() const { return fileCount_; }
    // Present (maybe empty) for a folder, largest first; absent for a file.
    const std::optional<Children>& children() const { return children_; }
    bool isDirectory() const { return children_.has_value(); }

    // The node of this subtree whose path is `path`, or null.
    const StorageNode* find(QStringView path) const;

private:
    QString path_;
    qint64 bytes_;
    qint64 fileCount_;
    std::optional<Children> children_;
};
