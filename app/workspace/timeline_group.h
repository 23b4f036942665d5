#pragma once

#include "file_entry.h"

#include <QDateTime>
#include <QList>
#include <QTimeZone>

// The files of one calendar day of the File Timeline.
struct TimelineGroup {
    QDateTime day; // start of the day in the grouping time zone
    QList<FileEntry> files;

    const QDateTime& id() const { return day; }

    friend bool operator==(const TimelineGroup&, const TimelineGroup&) = default;

    // One group per calendar day of `modified`, latest day first; files keep
    // their order within a day.
    static QList<TimelineGroup> byDay(const QList<FileEntry>& files,
                                      const QTimeZone& zone = QTimeZone::systemTimeZone());
};
