#pragma once

#include <QString>

// The words the status line shows for a section's work.
namespace ActivityText {

inline const QString ready = QStringLiteral("Ready");
inline const QString discovering = QStringLiteral("Discovering indexed files\u2026");
inline const QString scanning = QStringLiteral("Scanning files\u2026");
inline const QString comparing = QStringLiteral("Comparing file contents\u2026");
inline const QString buildingTree = QStringLiteral("Building storage hierarchy\u2026");
inline const QString summarizing = QStringLiteral("Summarizing files\u2026");
inline const QString cancelled = QStringLiteral("Cancelled");
inline const QString failed = QStringLiteral("Failed");
inline const QString paused = QStringLiteral("Discovery paused. Refresh to resume.");

} // namespace ActivityText
