#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <QObject>

// Records the D-Bus signals `interface`.`name` that reach the session bus,
// through a connection of its own, as another program would hear them.
class DBusSignalRecorder : public QObject {
    Q_OBJECT
public:
    DBusSignalRecorder(const QString& interface, const QString& name);
    ~DBusSignalRecorder() override;

    bool listening() const { return listening_; }
    const QList<QDBusMessage>& received() const { return received_; }

private Q_SLOTS:
    void receive(const QDBusMessage& message);

private:
    QDBusConnection connection_;
    bool listening_;
    QList<QDBusMessage> received_;
};
