#include "workspace/scripted_discovery.h"

bool ScriptedDiscovery::Log::send(const LibrarySnapshot& snapshot) const
{
    if (!receiver) return false;
    receiver(snapshot);
    return true;
}

void ScriptedDiscovery::start(MediaKind kind, bool screenshotsOnly, Receiver receive)
{
    log_->starts.append({kind, screenshotsOnly});
    log_->receiver = std::move(receive);
}

void ScriptedDiscovery::stop()
{
    ++log_->stops;
    log_->receiver = nullptr;
}

LibrarySnapshot finalSnapshot(const QList<FileEntry>& files, QSet<QString> screenshots)
{
    return LibrarySnapshot{files, std::move(screenshots), false, std::nullopt};
}

LibrarySnapshot interimSnapshot(const QList<FileEntry>& files)
{
    return LibrarySnapshot{files, {}, true, std::nullopt};
}

FileEntry indexedFile(const QString& path, qint64 size, const QDateTime& modified, bool isDirectory)
{
    return FileEntry::indexed(path, size, modified, isDirectory);
}
