#include "tracker_file_index.h"

#include "file_error.h"
#include "native_path.h"

#include <QThreadPool>
#include <QUrl>
#include <QtConcurrent>

#include <libtracker-sparql/tracker-sparql.h>

namespace {

const char* const minerService = "org.freedesktop.Tracker3.Miner.Files";

// Reading the index blocks in D-Bus calls; keep that off the GUI thread and
// out of the pool that filtering uses.
QThreadPool* indexPool()
{
    static QThreadPool pool;
    return &pool;
}

QString kindPattern(MediaKind kind)
{
    switch (kind) {
    case MediaKind::Image:
        return QStringLiteral("?f nie:interpretedAs ?ie . ?ie a nfo:Image .");
    case MediaKind::Video:
        return QStringLiteral("?f nie:interpretedAs ?ie . ?ie a nfo:Video .");
    case MediaKind::Audio:
        // Movies are audio too in the index's classes.
        return QStringLiteral("?f nie:interpretedAs ?ie . ?ie a nfo:Audio ."
                              " FILTER NOT EXISTS { ?ie a nfo:Video }");
    case MediaKind::Document:
        return QStringLiteral("?f nie:interpretedAs ?ie . ?ie a nfo:Document ."
                              " FILTER NOT EXISTS { ?ie a nfo:Image }"
                              " FILTER NOT EXISTS { ?ie a nfo:Video }"
                              " FILTER NOT EXISTS { ?ie a nfo:Audio }");
    case MediaKind::Other:
        break;
    }
    return {};
}

// Whether the miner still crawls for the first time (its progress below 1).
bool minerGathering()
{
    GError* error = nullptr;
    GDBusConnection* bus = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, &error);
    if (!bus) {
        g_clear_error(&error);
        return false;
    }
    GVariant* reply = g_dbus_connection_call_sync(
        bus, minerService, "/org/freedesktop/Tracker3/Miner/Files",
        "org.freedesktop.Tracker3.Miner", "GetProgress", nullptr, G_VARIANT_TYPE("(d)"),
        G_DBUS_CALL_FLAGS_NONE, 2000, nullptr, &error);
    g_object_unref(bus);
    if (!reply) {
        g_clear_error(&error);
        return false;
    }
    double progress = 1.0;
    g_variant_get(reply, "(d)", &progress);
    g_variant_unref(reply);
    return progress < 1.0;
}

QString cursorString(TrackerSparqlCursor* cursor, int column)
{
    if (!tracker_sparql_cursor_is_bound(cursor, column)) return {};
    return QString::fromUtf8(tracker_sparql_cursor_get_string(cursor, column, nullptr));
}

} // namespace

struct TrackerFileIndex::Connection {
    TrackerSparqlConnection* sparql = nullptr;
    TrackerNotifier* notifier = nullptr;
    ~Connection()
    {
        if (notifier) g_object_unref(notifier);
        if (sparql) g_object_unref(sparql);
    }
};

QString TrackerFileIndex::queryFor(MediaKind kind)
{
    return QStringLiteral("SELECT DISTINCT ?url ?size ?mtime ?folder WHERE {"
                          " ?f a nfo:FileDataObject ; nie:url ?url ."
                          " %1"
                          " OPTIONAL { ?f nfo:fileSize ?size }"
                          " OPTIONAL { ?f nfo:fileLastModified ?mtime }"
                          " BIND (EXISTS { ?f nie:interpretedAs ?d . ?d a nfo:Folder } AS ?folder)"
                          "} ORDER BY DESC(?mtime)")
        .arg(kindPattern(kind));
}

TrackerFileIndex::TrackerFileIndex()
{
    batch_.setSingleShot(true);
    batch_.setInterval(batchMs);
    connect(&batch_, &QTimer::timeout, this, [this] {
        if (changed_) changed_();
    });
}

TrackerFileIndex::~TrackerFileIndex() { stop(); }

bool TrackerFileIndex::start(MediaKind kind, std::function<void()> changed)
{
    stop();
    kind_ = kind;
    if (!connection_) {
        GError* error = nullptr;
        auto connection = std::make_shared<Connection>();
        connection->sparql = tracker_sparql_connection_bus_new(minerService, nullptr, nullptr, &error);
        if (!connection->sparql) {
            g_clear_error(&error);
            return false;
        }
        connection_ = connection;
    }
    changed_ = std::move(changed);
    connection_->notifier = tracker_sparql_connection_create_notifier(connection_->sparql);
    g_signal_connect(connection_->notifier, "events", G_CALLBACK(&TrackerFileIndex::onEvents), this);
    return true;
}

void TrackerFileIndex::onEvents(void*, const char*, const char*, void*, void* self)
{
    auto* index = static_cast<TrackerFileIndex*>(self);
    if (!index->batch_.isActive()) index->batch_.start();
}

void TrackerFileIndex::stop()
{
    batch_.stop();
    changed_ = nullptr;
    if (connection_ && connection_->notifier) {
        g_signal_handlers_disconnect_by_data(connection_->notifier, this);
        g_object_unref(connection_->notifier);
        connection_->notifier = nullptr;
    }
}

QFuture<IndexResults> TrackerFileIndex::results()
{
    const std::shared_ptr<Connection> connection = connection_;
    const QByteArray query = queryFor(kind_).toUtf8();
    return QtConcurrent::run(indexPool(), [connection, query] {
        if (!connection) throw FileError(FileError::Code::FileReadUnknown, QString());
        IndexResults results;
        results.gathering = minerGathering();
        GError* error = nullptr;
        TrackerSparqlCursor* cursor =
            tracker_sparql_connection_query(connection->sparql, query.constData(), nullptr, &error);
        if (!cursor) {
            const QString message = QString::fromUtf8(error ? error->message : "");
            g_clear_error(&error);
            throw FileError::withDescription(QString(), message);
        }
        while (tracker_sparql_cursor_next(cursor, nullptr, &error)) {
            const QUrl url(cursorString(cursor, 0));
            if (!url.isLocalFile()) continue;
            IndexedItem item;
            item.path = pathForUrl(url);
            item.size = tracker_sparql_cursor_is_bound(cursor, 1)
                            ? tracker_sparql_cursor_get_integer(cursor, 1)
                            : 0;
            const QString modified = cursorString(cursor, 2);
            if (!modified.isEmpty()) {
                const QDateTime when = QDateTime::fromString(modified, Qt::ISODateWithMs);
                if (when.isValid()) item.modified = when.toUTC();
            }
            item.isDirectory = tracker_sparql_cursor_get_boolean(cursor, 3);
            results.items.append(std::move(item));
        }
        g_clear_error(&error);
        g_object_unref(cursor);
        return results;
    });
}
