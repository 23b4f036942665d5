#pragma once

#include <QDateTime>

// The last `days` days before a moment: a file modified at the window's first
// instant or later is inside it. One rule for every section that looks back.
class DayWindow {
public:
    // How far the Recent section looks back.
    static constexpr int recentDays = 7;

    DayWindow(const QDateTime& now, int days);

    // Unknown dates count as the distant past, so they are outside.
    bool contains(const QDateTime& modified) const;

private:
    qint64 start_;
};
