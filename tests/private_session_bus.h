#pragma once

#include <QByteArray>
#include <QProcessEnvironment>
#include <QString>

// A D-Bus session daemon of the test's own. This process (and `environment`,
// for the programs it starts) is pointed at it until the bus goes away; the
// address it had before comes back then. Qt's session connection is made on
// first use, so make the bus before anything in the process touches D-Bus.
class PrivateSessionBus {
public:
    explicit PrivateSessionBus(
        const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment());
    ~PrivateSessionBus();
    PrivateSessionBus(const PrivateSessionBus&) = delete;
    PrivateSessionBus& operator=(const PrivateSessionBus&) = delete;

    // Empty when the daemon runs; otherwise why it does not.
    const QString& failure() const { return failure_; }
    const QString& address() const { return address_; }

private:
    QString failure_;
    QString address_;
    qint64 pid_ = 0;
    QByteArray savedAddress_;
    bool hadAddress_ = false;
};
