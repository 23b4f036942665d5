#include "file_size_format.h"

#include <QCoreApplication>
#include <QLocale>
#include <cmath>

QString formatFileSize(qint64 bytes)
{
    // English has one form for ±1 and another for the rest; a translation's own
    // plural forms come from the count.
    if (bytes == 1 || bytes == -1)
        return QCoreApplication::translate("FileSize", "%n byte", nullptr, int(bytes));
    const double magnitude = std::fabs(double(bytes));
    if (magnitude < 1000)
        return QCoreApplication::translate("FileSize", "%n bytes", nullptr, int(bytes));
    // kB without decimals, MB with one, larger units with two.
    static const char* const units[] = {
        QT_TRANSLATE_NOOP("FileSize", "kB"), QT_TRANSLATE_NOOP("FileSize", "MB"),
        QT_TRANSLATE_NOOP("FileSize", "GB"), QT_TRANSLATE_NOOP("FileSize", "TB"),
        QT_TRANSLATE_NOOP("FileSize", "PB"), QT_TRANSLATE_NOOP("FileSize", "EB")};
    double value = double(bytes) / 1000.0;
    int unit = 0;
    while (std::fabs(value) >= 999.5 && unit < 5) {
        value /= 1000.0;
        ++unit;
    }
    const int decimals = unit == 0 ? 0 : (unit == 1 ? 1 : 2);
    return QCoreApplication::translate("FileSize", "%1 %2")
        .arg(QLocale::c().toString(value, 'f', decimals),
             QCoreApplication::translate("FileSize", units[unit]));
}
