#pragma once

#include "native_path.h"

#include <QDir>
#include <QString>

// `folder` + "/" + `name`, without doubling the slash after "/".
inline QString childPath(const QString& folder, const QString& name)
{
    // Sized once: a scan keeps one such path per file.
    const bool slash = !folder.endsWith(u'/');
    QString path;
    path.reserve(folder.size() + (slash ? 1 : 0) + name.size());
    path.append(folder);
    if (slash) path.append(u'/');
    return path.append(name);
}

// An absolute, clean form of a path given by a user or caller.
inline QString absolutePath(const QString& path)
{
    // Plain string work: QDir's own current folder would lose undecodable bytes.
    return QDir::cleanPath(QDir::isAbsolutePath(path) ? path : currentFolder() + u'/' + path);
}

// The folder holding `path` (an absolute, clean path); "/" for "/".
inline QString parentFolder(const QString& path)
{
    const qsizetype slash = path.lastIndexOf(u'/');
    return slash <= 0 ? QStringLiteral("/") : path.left(slash);
}
