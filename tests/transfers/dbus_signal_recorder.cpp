#include "dbus_signal_recorder.h"

DBusSignalRecorder::DBusSignalRecorder(const QString& interface, const QString& name)
    : connection_(QDBusConnection::connectToBus(QDBusConnection::SessionBus,
                                                QStringLiteral("signal recorder"))),
      listening_(connection_.connect(QString(), QString(), interface, name, this,
                                     SLOT(receive(QDBusMessage))))
{
}

DBusSignalRecorder::~DBusSignalRecorder()
{
    QDBusConnection::disconnectFromBus(connection_.name());
}

void DBusSignalRecorder::receive(const QDBusMessage& message)
{
    received_ << message;
}
