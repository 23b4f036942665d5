#include "test_support.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdlib>
#include <ftw.h>
#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

TempTree::TempTree() : dir_(QDir::tempPath() + QStringLiteral("/quorvane-test-XXXXXX"))
{
    root_ = QDir(dir_.path()).canonicalPath();
}

TempTree::~TempTree()
{
    // By bytes, so that names that are not UTF-8 go too: Qt's own clean-up decodes
    // them and can't name them any more.
    const QByteArray root = QFile::encodeName(dir_.path());
    ::nftw(
        root.constData(),
        [](const char* path, const struct stat*, int, FTW*) { return ::remove(path); }, 16,
        FTW_DEPTH | FTW_PHYS);
}

QString TempTree::path(const QString& relative) const
{
    return root_ + u'/' + relative;
}

QString TempTree::file(const QString& relative, const QByteArray& contents)
{
    const QString full = path(relative);
    QDir().mkpath(QFileInfo(full).absolutePath());
    QFile file(full);
    if (!file.open(QIODevice::WriteOnly) || file.write(contents) != contents.size()) std::abort();
    return full;
}

QString TempTree::folder(const QString& relative)
{
    const QString full = path(relative);
    QDir().mkpath(full);
    return full;
}

void TempTree::openToEveryone() const
{
    QFile::setPermissions(root_, QFile::permissions(root_) | QFile::ExeOther | QFile::ReadOther |
                                     QFile::ExeGroup | QFile::ReadGroup);
}

bool becomeNobody()
{
    const gid_t nogroup = 65534;
    return ::setgroups(0, nullptr) == 0 && ::setresgid(nogroup, nogroup, nogroup) == 0 &&
           ::setresuid(65534, 65534, 65534) == 0;
}

int runAsNobody(const std::function<int()>& body)
{
    if (::geteuid() != 0) return -1;
    const pid_t child = ::fork();
    if (child == 0) {
        if (!becomeNobody()) ::_exit(120);
        ::_exit(body());
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 121;
}

ScopedEnv::ScopedEnv(const char* name, const QByteArray& value)
    : name_(name), old_(qgetenv(name)), had_(qEnvironmentVariableIsSet(name))
{
    qputenv(name, value);
}

ScopedEnv::~ScopedEnv()
{
    if (had_)
        qputenv(name_.constData(), old_);
    else
        qunsetenv(name_.constData());
}

QStringList namesOf(const QList<FileEntry>& entries)
{
    QStringList result;
    for (const FileEntry& entry : entries)
        result.append(entry.name);
    return result;
}

QStringList partialCopiesIn(const QString& folder)
{
    return QDir(folder).entryList({QStringLiteral(".quorvane-copy-*")},
                                  QDir::AllEntries | QDir::Hidden | QDir::System);
}

QByteArray contentsOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

QStringList entriesOf(const QString& folder)
{
    return QDir(folder).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}
