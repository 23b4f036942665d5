#pragma once

#include <QString>
#include <optional>

// Capacities of the volume holding a folder; absent when they cannot be read.
struct VolumeCapacity {
    std::optional<qint64> total;
    std::optional<qint64> available;
    std::optional<qint64> availableForImportantUsage;

    static VolumeCapacity of(const QString& folder);
};

// 1 − available ÷ total, or 0 when either is missing or the total is below 1.
double volumeUsage(const VolumeCapacity& capacity);
// "N% of volume used" for the storage card.
QString usageText(double usage);
// "SIZE available", or "Local filesystem" when the value is missing.
QString availableSpaceText(const VolumeCapacity& capacity);
