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

// A small ext4 file system in an image file, mounted through a loop device:
// unlike tmpfs it has a trash of its own (".Trash-UID" at its top).
class DiskImageMount {
public:
    DiskImageMount(const QString& image, const QString& where)
        : image_(QFile::encodeName(image)), where_(QFile::encodeName(where))
    {
        mounted_ =
            run("truncate -s 8M '" + image_ + "' && mkfs.ext4 -q -F '" + image_ +
                "' >/dev/null 2>&1 && mount -o loop '" + image_ + "' '" + where_ + "' 2>/dev/null");
    }
    ~DiskImageMount()
    {
        if (mounted_) run("umount -l '" + where_ + "'");
    }
    DiskImageMount(const DiskImageMount&) = delete;
    DiskImageMount& operator=(const DiskImageMount&) = delete;

    bool mounted() const { return mounted_; }

private:
    static bool run(const QByteArray& command) { return std::system(command.constData()) == 0; }
    QByteArray image_;
    QByteArray where_;
    bool mounted_ = false;
};
