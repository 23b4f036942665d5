#include "window/desktop_color_scheme.h"

#include <QDBusConnection>
#include <QDBusError>
#include <QDBusInterface>
#include <QDBusReply>
#include <QDBusVariant>

namespace {

const QString service = QStringLiteral("org.freedesktop.portal.Desktop");
const QString path = QStringLiteral("/org/freedesktop/portal/desktop");
const QString settings = QStringLiteral("org.freedesktop.portal.Settings");
const QString group = QStringLiteral("org.freedesktop.appearance");
const QString key = QStringLiteral("color-scheme");

} // namespace

PortalColorScheme::PortalColorScheme(QObject* parent) : DesktopColorScheme(parent)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) return;
    QDBusInterface portal(service, path, settings, bus);
    if (!portal.isValid()) return;
    portal.setTimeout(500);
    // ReadOne is the current call; older portals only know Read.
    QDBusReply<QDBusVariant> reply = portal.call(QStringLiteral("ReadOne"), group, key);
    if (reply.error().type() == QDBusError::UnknownMethod)
        reply = portal.call(QStringLiteral("Read"), group, key);
    if (reply.isValid()) dark_ = meansDark(reply.value().variant());
    bus.connect(service, path, settings, QStringLiteral("SettingChanged"), this,
                SLOT(settingChanged(QString, QString, QDBusVariant)));
}

bool PortalColorScheme::meansDark(const QVariant& value)
{
    // Read wraps the value twice.
    QVariant inner = value;
    while (inner.canConvert<QDBusVariant>() && inner.userType() == qMetaTypeId<QDBusVariant>())
        inner = inner.value<QDBusVariant>().variant();
    return inner.toUInt() == 1;
}

void PortalColorScheme::settingChanged(const QString& changedGroup, const QString& changedKey,
                                       const QDBusVariant& value)
{
    if (changedGroup != group || changedKey != key) return;
    const bool dark = meansDark(value.variant());
    if (dark == dark_) return;
    dark_ = dark;
    Q_EMIT changed();
}
