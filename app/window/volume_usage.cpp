#include "window/volume_usage.h"

#include "file_size_format.h"

#include <QCoreApplication>
#include <QDir>
#include <QLocale>
#include <QStorageInfo>
#include <cmath>

VolumeCapacity VolumeCapacity::of(const QString& folder)
{
    // In the computer-wide scope there is no folder; the home volume stands in.
    const QStorageInfo info(folder.isEmpty() ? QDir::homePath() : folder);
    VolumeCapacity capacity;
    if (!info.isValid() || !info.isReady()) return capacity;
    if (info.bytesTotal() >= 0) capacity.total = info.bytesTotal();
    if (info.bytesFree() >= 0) capacity.available = info.bytesFree();
    // What an ordinary user can still write (free space minus the reserved blocks).
    if (info.bytesAvailable() >= 0) capacity.availableForImportantUsage = info.bytesAvailable();
    return capacity;
}

double volumeUsage(const VolumeCapacity& capacity)
{
    if (!capacity.total || !capacity.available || *capacity.total < 1) return 0;
    const double usage = 1.0 - double(*capacity.available) / double(*capacity.total);
    return std::clamp(usage, 0.0, 1.0);
}

QString usageText(double usage)
{
    return QCoreApplication::translate("VolumeUsage", "%1% of volume used")
        .arg(QLocale().toString(int(std::floor(usage * 100))));
}

QString availableSpaceText(const VolumeCapacity& capacity)
{
    if (!capacity.availableForImportantUsage)
        return QCoreApplication::translate("VolumeUsage", "Local filesystem");
    return QCoreApplication::translate("VolumeUsage", "%1 available")
        .arg(formatFileSize(*capacity.availableForImportantUsage));
}
