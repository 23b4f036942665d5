#include "day_window.h"

#include "distant_past.h"

namespace {

constexpr qint64 msecsPerDay = 86'400'000;

qint64 msecs(const QDateTime& date)
{
    return (date.isValid() ? date : distantPast()).toMSecsSinceEpoch();
}

} // namespace

DayWindow::DayWindow(const QDateTime& now, int days)
    : start_(msecs(now) - qint64(days) * msecsPerDay)
{
}

bool DayWindow::contains(const QDateTime& modified) const
{
    return msecs(modified) >= start_;
}
