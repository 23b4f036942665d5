#include "file_size_format.h"

#include <QLocale>
#include <cmath>

QString formatFileSize(qint64 bytes)
{
    if (bytes == 1 || bytes == -1) return QStringLiteral("%1 byte").arg(bytes);
    const double magnitude = std::fabs(double(bytes));
    if (magnitude < 1000) return QStringLiteral("%1 bytes").arg(bytes);
    // kB without decimals, MB with one, larger units with two.
    static const char* const units[] = {"kB", "MB", "GB", "TB", "PB", "EB"};
    double value = double(bytes) / 1000.0;
    int unit = 0;
    while (std::fabs(value) >= 999.5 && unit < 5) {
        value /= 1000.0;
        ++unit;
    }
    const int decimals = unit == 0 ? 0 : (unit == 1 ? 1 : 2);
    return QStringLiteral("%1 %2").arg(QLocale::c().toString(value, 'f', decimals),
                                       QLatin1StringView(units[unit]));
}
