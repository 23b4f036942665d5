#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <cstdlib>

// A small tmpfs, a second file system, for the duration of a test; `mounted()`
// is false where mounting is not permitted.
class ScratchMount {
public:
    explicit ScratchMount(const QString& where, const QByteArray& size = "1m")
        : where_(QFile::encodeName(where))
    {
        mounted_ = run("mount -t tmpfs -o size=" + size + " tmpfs '" + where_ + "' 2>/dev/null");
    }
    ~ScratchMount()
    {
        if (mounted_) run("umount -l '" + where_ + "'");
    }
    ScratchMount(const ScratchMount&) = delete;
    ScratchMount& operator=(const ScratchMount&) = delete;

    bool mounted() const { return mounted_; }
    bool makeReadOnly() { return run("mount -o remount,ro '" + where_ + "'"); }

private:
    static bool run(const QByteArray& command) { return std::system(command.constData()) == 0; }
    QByteArray where_;
    bool mounted_ = false;
};
