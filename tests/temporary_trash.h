#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <cstdlib>

// A home trash of the test's own: XDG_DATA_HOME points into a temporary folder
// for the whole process, set before the trash is first used (GIO reads it
// once). Returns the trash folder.
inline QString temporaryTrash()
{
    static QTemporaryDir home(QDir::tempPath() + QStringLiteral("/quorvane-data-XXXXXX"));
    static const bool set = ::setenv("XDG_DATA_HOME", QFile::encodeName(home.path()), 1) == 0;
    (void)set;
    return home.path() + QStringLiteral("/Trash");
}

// The names in the trash's "files" folder.
inline QStringList trashedNames()
{
    return QDir(temporaryTrash() + QStringLiteral("/files"))
        .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                   QDir::Name);
}
