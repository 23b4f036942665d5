#include "tracker_file_index.h"

#include "file_entry.h"
#include "file_error.h"
#include "native_path.h"
#include "tracker_miner_activity.h"

#include <QPromise>
#include <QThreadPool>
#include <QUrl>
#include <QtConcurrent>
#include <atomic>
#include <functional>
#include <libtracker-sparql/tracker-sparql.h>
#include <utility>

namespace {

const char* const minerService = "org.freedesktop.Tracker3.Miner.Files";

// Pages after the first one: large enough that handing them over costs
// nothing, small enough that the window converts while the rest is read.
constexpr int pageSize = 2048;

// Reading the index blocks in D-Bus calls; keep that off the GUI thread and
// out of the pool that filtering uses.
QThreadPool* indexPool()
{
    static QThreadPool pool;
    return &pool;
}

// The class of each kind lives in the graph of its extractor rules; asking
// there spares the union of every graph. Audio is also found in the video
// graph (containers guessed as video that hold only sound), so it asks all.
QString kindPattern(MediaKind kind)
{
    switch (kind) {
    case MediaKind::Image:
        return QStringLiteral(
            "GRAPH tracker:Pictures { ?f nie:interpretedAs ?ie . ?ie a nfo:Image }");
    case MediaKind::Video:
        return QStringLiteral("GRAPH tracker:Video { ?f nie:interpretedAs ?ie . ?ie a nfo:Video }");
    case MediaKind::Audio:
        // Movies are audio too in the index's classes.
        return QStringLiteral("?f nie:interpretedAs ?ie . ?ie a nfo:Audio ."
                              " FILTER NOT EXISTS { ?ie a nfo:Video }");
    case MediaKind::Document:
        return QStringLiteral(
            "GRAPH tracker:Documents { ?f nie:interpretedAs ?ie . ?ie a nfo:Document ."
            " FILTER NOT EXISTS { ?ie a nfo:Image }"
            " FILTER NOT EXISTS { ?ie a nfo:Video }"
            " FILTER NOT EXISTS { ?ie a nfo:Audio } }");
    case MediaKind::Other:
        break;
    }
    return {};
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
    TrackerMinerActivity activity;
    std::atomic<bool> gathering = false; // as the last read found it
    ~Connection()
    {
        if (notifier) g_object_unref(notifier);
        if (sparql) g_object_unref(sparql);
    }
};

QString TrackerFileIndex::queryFor(MediaKind kind)
{
    // The file system graph holds every file once (the content graphs repeat
    // some of its properties), and the folder class lives there too, so
    // neither DISTINCT nor a test per row is needed.
    const QString file = QStringLiteral(
        "GRAPH tracker:FileSystem { ?f a nfo:FileDataObject ; nie:url ?url ."
        " OPTIONAL { ?f nfo:fileSize ?size } OPTIONAL { ?f nfo:fileLastModified ?mtime }"
        " OPTIONAL { ?f nie:interpretedAs ?folder . ?folder a nfo:Folder } }");
    QString where = file;
    if (kind != MediaKind::Other) {
        // Files whose type has no extractor never get a class (WebP, CSV,
        // JSON, source code), and none has one before extraction: those come
        // as loose rows that are classified by name like everywhere else.
        where = QStringLiteral("{ %1 %2 } UNION { %1 OPTIONAL { ?f nie:interpretedAs ?any }"
                               " FILTER (!BOUND(?any)) BIND (true AS ?loose) }")
                    .arg(file, kindPattern(kind));
    }
    // The URL breaks ties so that the pages of one read fit together.
    return QStringLiteral("SELECT ?url ?size ?mtime ?folder ?loose WHERE { %1 }"
                          " ORDER BY DESC(?mtime) ?url")
        .arg(where);
}

TrackerFileIndex::TrackerFileIndex()
{
    batch_.setSingleShot(true);
    batch_.setInterval(batchMs);
    connect(&batch_, &QTimer::timeout, this, [this] {
        if (changed_) changed_();
    });
    // Nothing in the index may change when its miners fall idle, so look
    // again while they work.
    recheck_.setInterval(recheckMs);
    connect(&recheck_, &QTimer::timeout, this, [this] {
        if (connection_ && connection_->gathering && !batch_.isActive()) batch_.start();
    });
}

TrackerFileIndex::~TrackerFileIndex()
{
    stop();
}

bool TrackerFileIndex::start(MediaKind kind, std::function<void()> changed)
{
    stop();
    kind_ = kind;
    if (!connection_) {
        GError* error = nullptr;
        auto connection = std::make_shared<Connection>();
        connection->sparql =
            tracker_sparql_connection_bus_new(minerService, nullptr, nullptr, &error);
        if (!connection->sparql) {
            g_clear_error(&error);
            return false;
        }
        connection_ = connection;
    }
    changed_ = std::move(changed);
    connection_->notifier = tracker_sparql_connection_create_notifier(connection_->sparql);
    g_signal_connect(connection_->notifier, "events", G_CALLBACK(&TrackerFileIndex::onEvents),
                     this);
    recheck_.start();
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
    recheck_.stop();
    changed_ = nullptr;
    if (connection_ && connection_->notifier) {
        g_signal_handlers_disconnect_by_data(connection_->notifier, this);
        g_object_unref(connection_->notifier);
        connection_->notifier = nullptr;
    }
}

namespace {

// Reads one query, handing over a first page of `firstLimit` kept rows and
// then pages of `pageSize`; returns the number of rows the index sent.
qsizetype readPages(TrackerSparqlConnection* sparql, const QByteArray& query, MediaKind kind,
                    qsizetype firstLimit, QString& previous, QPromise<IndexResults>& promise,
                    const std::function<void(QList<IndexedItem>&&)>& deliver)
{
    GError* error = nullptr;
    TrackerSparqlCursor* cursor =
        tracker_sparql_connection_query(sparql, query.constData(), nullptr, &error);
    if (!cursor) {
        const QString message = QString::fromUtf8(error ? error->message : "");
        g_clear_error(&error);
        throw FileError::withDescription(QString(), message);
    }
    qsizetype rows = 0;
    QList<IndexedItem> page;
    qsizetype pageLimit = firstLimit;
    while (!promise.isCanceled() && tracker_sparql_cursor_next(cursor, nullptr, &error)) {
        ++rows;
        const QString url = cursorString(cursor, 0);
        // A file in two classes of the kind comes twice, next to itself.
        if (url == previous) continue;
        previous = url;
        const QUrl location(url);
        if (!location.isLocalFile()) continue;
        IndexedItem item;
        item.path = pathForUrl(location);
        if (tracker_sparql_cursor_is_bound(cursor, 4) &&
            FileEntry::classify(extensionOf(item.path.section(u'/', -1)), false) != kind)
            continue;
        item.size = tracker_sparql_cursor_is_bound(cursor, 1)
                        ? tracker_sparql_cursor_get_integer(cursor, 1)
                        : 0;
        const QString modified = cursorString(cursor, 2);
        if (!modified.isEmpty()) {
            const QDateTime when = QDateTime::fromString(modified, Qt::ISODateWithMs);
            if (when.isValid()) item.modified = when.toUTC();
        }
        item.isDirectory = tracker_sparql_cursor_is_bound(cursor, 3);
        page.append(std::move(item));
        if (page.size() >= pageLimit) {
            deliver(std::exchange(page, {}));
            pageLimit = pageSize;
        }
    }
    const QString failure = error ? QString::fromUtf8(error->message) : QString();
    g_clear_error(&error);
    g_object_unref(cursor);
    if (!failure.isEmpty()) throw FileError::withDescription(QString(), failure);
    if (!page.isEmpty()) deliver(std::move(page));
    return rows;
}

} // namespace

QFuture<IndexResults> TrackerFileIndex::results()
{
    const std::shared_ptr<Connection> connection = connection_;
    const MediaKind kind = kind_;
    const QString query = queryFor(kind);
    return QtConcurrent::run(
        indexPool(), [connection, kind, query](QPromise<IndexResults>& promise) {
            if (!connection) throw FileError(FileError::Code::FileReadUnknown, QString());
            QString previous;
            bool delivered = false;
            bool gathering = true;
            auto deliver = [&](QList<IndexedItem>&& page) {
                promise.addResult(IndexResults{std::move(page), gathering});
                delivered = true;
            };
            auto askMiners = [&] {
                gathering = connection->activity.working();
                connection->gathering = gathering;
            };
            if (kind != MediaKind::Other) {
                // Finding the kind costs the index as much for a few rows as for
                // all of them: one query, its first rows handed over at once.
                askMiners();
                readPages(connection->sparql, query.toUtf8(), kind, firstPageRows, previous,
                          promise, deliver);
            } else {
                // The newest few first, on their own, so that they are shown at
                // once: the index sorts everything before it sends a row.
                QList<IndexedItem> newest;
                const qsizetype first =
                    readPages(connection->sparql,
                              (query + QStringLiteral(" LIMIT %1").arg(firstPageRows)).toUtf8(),
                              kind, firstPageRows, previous, promise,
                              [&](QList<IndexedItem>&& page) { newest = std::move(page); });
                // A page that more pages follow is interim, whatever the miners say.
                const bool more = first == firstPageRows;
                if (more) deliver(std::move(newest));
                delivered = false;
                askMiners();
                if (!more)
                    deliver(std::move(newest));
                else if (!promise.isCanceled())
                    readPages(connection->sparql,
                              (query + QStringLiteral(" OFFSET %1").arg(firstPageRows)).toUtf8(),
                              kind, pageSize, previous, promise, deliver);
            }
            // The last page carries what the miners say, even when it is empty.
            if (!delivered) deliver({});
        });
}
