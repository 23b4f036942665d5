#pragma once

#include "file_entry.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <functional>

// A temporary folder for one test, with helpers to fill it.
class TempTree {
public:
    TempTree();
    ~TempTree();
    const QString& root() const { return root_; }
    QString path(const QString& relative) const;
    // Writes a file (making parent folders) and returns its absolute path.
    QString file(const QString& relative, const QByteArray& contents = {});
    QString folder(const QString& relative);
    // Lets other users walk into the tree (for tests run as an unprivileged user).
    void openToEveryone() const;

private:
    QTemporaryDir dir_;
    QString root_;
};

// Drops this process to the unprivileged user "nobody" for good (needs root).
bool becomeNobody();

// Runs `body` in a child process as the unprivileged user "nobody" and returns
// its exit status, or -1 when this process can't switch users (not root).
int runAsNobody(const std::function<int()>& body);

// Sets an environment variable for the life of this object.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const QByteArray& value);
    ~ScopedEnv();

private:
    QByteArray name_;
    QByteArray old_;
    bool had_;
};

// The unfinished copies (".quorvane-copy-…") left in `folder`.
QStringList partialCopiesIn(const QString& folder);
// A file's bytes, or "<missing>" when it can't be read.
QByteArray contentsOf(const QString& path);
// Every name in `folder`, hidden ones too, by name.
QStringList entriesOf(const QString& folder);

// The names of the entries, in order.
QStringList namesOf(const QList<FileEntry>& entries);
