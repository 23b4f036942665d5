#include "discovery/tracker_sandbox.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QThread>
#include <csignal>
#include <functional>

namespace {

const char* const variables[] = {
    "HOME",   "XDG_CONFIG_HOME",  "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_RUNTIME_DIR",
    "TMPDIR", "GSETTINGS_BACKEND"};

// Asks `done` every `intervalMs` until it holds; false once `timeoutMs` has
// passed. The index answers through other processes, not through our events.
bool pollUntil(const std::function<bool()>& done, int timeoutMs, int intervalMs = 200)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (!done()) {
        if (deadline.hasExpired()) return false;
        QThread::msleep(intervalMs);
    }
    return true;
}

} // namespace

TrackerSandbox::TrackerSandbox() : state_(QStringLiteral("/var/tmp/quorvane-tracker-XXXXXX"))
{
    const QString root = state_.path();
    for (const char* sub :
         {"home", "config/glib-2.0/settings", "data", "cache", "run", "tmp", "indexed"})
        QDir().mkpath(root + u'/' + QLatin1String(sub));
    QFile::setPermissions(root + "/run", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    folder_ = root + "/indexed";

    QFile keyfile(root + "/config/glib-2.0/settings/keyfile");
    if (keyfile.open(QIODevice::WriteOnly)) {
        keyfile.write(QStringLiteral("[org/freedesktop/tracker/miner/files]\n"
                                     "index-recursive-directories=['%1']\n"
                                     "index-single-directories=@as []\n"
                                     "initial-sleep=0\n"
                                     "index-applications=false\n"
                                     "index-removable-devices=false\n"
                                     "throttle=0\n")
                          .arg(folder_)
                          .toUtf8());
    }
    const QStringList values = {root + "/home",           root + "/config", root + "/data",
                                root + "/cache",          root + "/run",    root + "/tmp",
                                QStringLiteral("keyfile")};
    environment_ = QProcessEnvironment::systemEnvironment();
    for (int i = 0; i < values.size(); ++i) {
        environment_.insert(QString::fromLatin1(variables[i]), values[i]);
        qputenv(variables[i], values[i].toLocal8Bit());
    }
}

TrackerSandbox::~TrackerSandbox()
{
    if (bus_ && bus_->failure().isEmpty()) {
        // The miners leave when their bus goes away; ask them first so the
        // database is closed before the folder is removed.
        for (const char* name :
             {"org.freedesktop.Tracker3.Miner.Files", "org.freedesktop.Tracker3.Miner.Extract"}) {
            const QString reply =
                run("gdbus",
                    {"call", "--session", "--dest", "org.freedesktop.DBus", "--object-path",
                     "/org/freedesktop/DBus", "--method",
                     "org.freedesktop.DBus.GetConnectionUnixProcessID", QString::fromLatin1(name)});
            const auto match = QRegularExpression("uint32 (\\d+)").match(reply);
            if (match.hasMatch()) {
                const pid_t pid = match.captured(1).toInt();
                ::kill(pid, SIGTERM);
                pollUntil([pid] { return ::kill(pid, 0) != 0; }, 5000, 100);
            }
        }
    }
}

QString TrackerSandbox::run(const QString& program, const QStringList& arguments,
                            int timeoutMs) const
{
    QProcess process;
    process.setProcessEnvironment(environment_);
    process.start(program, arguments);
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
        return {};
    }
    return QString::fromUtf8(process.readAllStandardOutput());
}

QString TrackerSandbox::sparql(const QString& query) const
{
    return run("tracker3",
               {"sparql", "--dbus-service", "org.freedesktop.Tracker3.Miner.Files", "-q", query});
}

int TrackerSandbox::countFiles(bool pendingOnly) const
{
    const QString pending =
        pendingOnly ? QStringLiteral("FILTER NOT EXISTS { ?f tracker:extractorHash ?h }")
                    : QString();
    const QString out = sparql(QStringLiteral("SELECT (COUNT(DISTINCT ?f) AS ?n) WHERE { ?f a "
                                              "nfo:FileDataObject ; nie:url ?u . %1 "
                                              "FILTER(STRSTARTS(?u, \"file://%2/\")) }")
                                   .arg(pending, folder_));
    const auto match = QRegularExpression("(?m)^\\s*(\\d+)\\s*$").match(out);
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

QString TrackerSandbox::start(int timeoutMs, int unextractable)
{
    if (QString failure = launch(); !failure.isEmpty()) return failure;
    QString status;
    const bool indexed = pollUntil(
        [&] {
            status = run("tracker3", {"status"}).trimmed().section(u'\n', -1);
            return status.contains("complete") && countFiles(true) == unextractable &&
                   countFiles(false) > 0;
        },
        timeoutMs);
    if (indexed) return {};
    return QStringLiteral("the private file index did not finish within %1 s (status: %2)")
        .arg(timeoutMs / 1000)
        .arg(status);
}

QString TrackerSandbox::launch()
{
    bus_ = std::make_unique<PrivateSessionBus>(environment_);
    if (!bus_->failure().isEmpty()) return bus_->failure();
    environment_.insert("DBUS_SESSION_BUS_ADDRESS", bus_->address());

    run("gdbus", {"call", "--session", "--dest", "org.freedesktop.DBus", "--object-path",
                  "/org/freedesktop/DBus", "--method", "org.freedesktop.DBus.StartServiceByName",
                  "org.freedesktop.Tracker3.Miner.Files", "0"});
    return {};
}

bool TrackerSandbox::waitForFileCount(int count, int timeoutMs) const
{
    return pollUntil([&] { return countFiles(false) == count; }, timeoutMs);
}
