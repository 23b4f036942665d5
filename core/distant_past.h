#pragma once

#include <QDateTime>

// The date that stands for "unknown": sorts before every real date.
inline const QDateTime& distantPast()
{
    static const QDateTime value(QDate(1, 1, 1), QTime(0, 0), Qt::UTC);
    return value;
}

inline bool isDistantPast(const QDateTime& date)
{
    return date <= distantPast();
}
