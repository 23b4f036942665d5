#pragma once

#include <QDir>
#include <QString>

// `folder` + "/" + `name`, without doubling the slash after "/".
inline QString childPath(const QString& folder, const QString& name)
{
    return folder.endsWith(u'/') ? folder + name : folder + u'/' + name;
}

// An absolute, clean form of a path given by a user or caller.
inline QString absolutePath(const QString& path)
{
    return QDir::cleanPath(QDir(path).absolutePath());
}
