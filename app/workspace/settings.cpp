#include "workspace/settings.h"

#include <QSettings>

namespace {

QString key(const char* name)
{
    return QString::fromLatin1(name);
}

QString groupKey(Settings::SidebarGroup group)
{
    // The tools group kept its first name.
    return key(group == Settings::SidebarGroup::Tools ? "organizeExpanded" : "locationsExpanded");
}

} // namespace

bool Settings::showHidden()
{
    return QSettings().value(key("showHidden"), false).toBool();
}

void Settings::setShowHidden(bool shown)
{
    QSettings().setValue(key("showHidden"), shown);
}

std::optional<QString> Settings::appearance()
{
    const QVariant value = QSettings().value(key("appearance"));
    if (!value.isValid()) return std::nullopt;
    return value.toString();
}

void Settings::setAppearance(const QString& appearance)
{
    QSettings().setValue(key("appearance"), appearance);
}

bool Settings::sidebarGroupExpanded(SidebarGroup group)
{
    return QSettings().value(groupKey(group), true).toBool();
}

void Settings::setSidebarGroupExpanded(SidebarGroup group, bool expanded)
{
    QSettings().setValue(groupKey(group), expanded);
}

QByteArray Settings::contentSplit()
{
    return QSettings().value(key("QuorvanePrimarySplit")).toByteArray();
}

void Settings::setContentSplit(const QByteArray& state)
{
    QSettings().setValue(key("QuorvanePrimarySplit"), state);
}
