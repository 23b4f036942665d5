#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// The user's defaults, each under one key of QSettings. Everything that reads
// or writes a default goes through here, so a key is spelled once.
class Settings {
public:
    // Whether listings show names starting with a dot.
    static bool showHidden();
    static void setShowHidden(bool shown);

    // The chosen appearance as stored ("Light", "Dark" or "System"); absent
    // until the user chooses one.
    static std::optional<QString> appearance();
    static void setAppearance(const QString& appearance);

    // Whether a sidebar group shows its rows (it does until the user folds it).
    enum class SidebarGroup { Tools, Locations };
    static bool sidebarGroupExpanded(SidebarGroup group);
    static void setSidebarGroupExpanded(SidebarGroup group, bool expanded);

    // The split between the section and its details panel.
    static QByteArray contentSplit();
    static void setContentSplit(const QByteArray& state);
};
