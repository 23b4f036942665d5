#include "private_session_bus.h"

#include <QProcess>
#include <csignal>

PrivateSessionBus::PrivateSessionBus(const QProcessEnvironment& environment)
    : savedAddress_(qgetenv("DBUS_SESSION_BUS_ADDRESS")),
      hadAddress_(qEnvironmentVariableIsSet("DBUS_SESSION_BUS_ADDRESS"))
{
    QProcess bus;
    bus.setProcessEnvironment(environment);
    bus.start(QStringLiteral("dbus-daemon"),
              {QStringLiteral("--session"), QStringLiteral("--fork"),
               QStringLiteral("--print-address=1"), QStringLiteral("--print-pid=1")});
    if (!bus.waitForFinished(10000) || bus.exitStatus() != QProcess::NormalExit ||
        bus.exitCode() != 0) {
        failure_ = QStringLiteral("dbus-daemon --session did not start: %1")
                       .arg(QString::fromUtf8(bus.readAllStandardError()));
        return;
    }
    const QStringList lines =
        QString::fromUtf8(bus.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    if (lines.size() < 2) {
        failure_ = QStringLiteral("dbus-daemon printed no address");
        return;
    }
    address_ = lines[0].trimmed();
    pid_ = lines[1].trimmed().toLongLong();
    qputenv("DBUS_SESSION_BUS_ADDRESS", address_.toLocal8Bit());
}

PrivateSessionBus::~PrivateSessionBus()
{
    if (pid_ > 0) ::kill(pid_t(pid_), SIGTERM);
    if (hadAddress_)
        qputenv("DBUS_SESSION_BUS_ADDRESS", savedAddress_);
    else
        qunsetenv("DBUS_SESSION_BUS_ADDRESS");
}
