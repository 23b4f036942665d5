#pragma once

#include <QCoreApplication>
#include <QString>

// The words the status line shows for a section's work.
namespace ActivityText {

inline QString ready()
{
    return QCoreApplication::translate("ActivityText", "Ready");
}
inline QString discovering()
{
    return QCoreApplication::translate("ActivityText", "Discovering indexed files\u2026");
}
inline QString scanning()
{
    return QCoreApplication::translate("ActivityText", "Scanning files\u2026");
}
inline QString comparing()
{
    return QCoreApplication::translate("ActivityText", "Comparing file contents\u2026");
}
inline QString buildingTree()
{
    return QCoreApplication::translate("ActivityText", "Building storage hierarchy\u2026");
}
inline QString summarizing()
{
    return QCoreApplication::translate("ActivityText", "Summarizing files\u2026");
}
inline QString cancelled()
{
    return QCoreApplication::translate("ActivityText", "Cancelled");
}
inline QString failed()
{
    return QCoreApplication::translate("ActivityText", "Failed");
}
inline QString paused()
{
    return QCoreApplication::translate("ActivityText", "Discovery paused. Refresh to resume.");
}

} // namespace ActivityText
