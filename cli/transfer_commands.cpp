#include "command_registry.h"
#include "entry_output.h"
#include "file_size_format.h"
#include "interrupt.h"
#include "json_writer.h"
#include "path_names.h"
#include "progress_line.h"
#include "terminal_text.h"
#include "transfer_store.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <cstdio>

namespace {

bool isPending(const TransferItem& item)
{
    return item.status == TransferStatus::Queued || item.status == TransferStatus::Copying;
}

// "[#####·····]  52%  movie.mkv  1.2 GB of 2.3 GB  410 MB/s"
QString progressBar(const TransferItem& item, qint64 elapsedMs)
{
    constexpr int kWidth = 20;
    const double fraction = item.total > 0 ? double(item.bytes) / double(item.total) : 0.0;
    const int filled = qBound(0, int(fraction * kWidth), kWidth);
    const qint64 rate = elapsedMs > 0 ? item.bytes * 1000 / elapsedMs : 0;
    return QStringLiteral("[%1%2] %3%  %4  %5 of %6  %7/s")
        .arg(QString(filled, u'#'), QString(kWidth - filled, u'\u00B7'))
        .arg(int(fraction * 100), 3)
        .arg(item.name(), formatFileSize(item.bytes), formatFileSize(item.total),
             formatFileSize(rate));
}

// Shows the running job's bar, restarting the clock for each new job.
class TransferProgress {
public:
    void update(const TransferStore& store)
    {
        const std::optional<QUuid> active = store.activeID();
        if (active != shown_) {
            line_.clear();
            shown_ = active;
            clock_.start();
        }
        if (!active) return;
        for (const TransferItem& item : store.items())
            if (item.id == *active) line_.show(progressBar(item, clock_.elapsed()));
    }
    void clear() { line_.clear(); }

private:
    ProgressLine line_;
    std::optional<QUuid> shown_;
    QElapsedTimer clock_;
};

void writeTrashed(JsonWriter& json, const QString& key, const std::optional<TrashedItem>& item)
{
    if (item)
        EntryOutput::writePath(json, key, item->trashed);
    else
        json.key(key).null();
}

// Where a finished job put its items: the copy's or move's final paths, and
// what went to the trash for them.
void writePlaced(JsonWriter& json, const TransferItem& item)
{
    json.key(u"placed");
    if (!item.outcome) {
        json.null();
        return;
    }
    json.beginArray();
    for (const PlacedItem& placed : item.outcome->placed) {
        json.beginObject();
        EntryOutput::writePath(json, QStringLiteral("from"), placed.from);
        EntryOutput::writePath(json, QStringLiteral("to"), placed.to);
        writeTrashed(json, QStringLiteral("replacedInTrash"), placed.replaced);
        writeTrashed(json, QStringLiteral("sourceInTrash"), placed.sourceTrashed);
        json.endObject();
    }
    json.endArray();
}

void writeJson(const QList<TransferItem>& items)
{
    OutputStream out;
    JsonWriter json(out);
    json.beginObject().key(u"items").beginArray();
    for (const TransferItem& item : items) {
        json.beginObject();
        json.key(u"id").value(item.id.toString(QUuid::WithoutBraces));
        json.key(u"name").value(item.name());
        EntryOutput::writePath(json, QStringLiteral("source"), item.source);
        EntryOutput::writePath(json, QStringLiteral("destination"), item.destination());
        json.key(u"status").value(rawValue(item.status));
        json.key(u"bytes").value(item.bytes);
        json.key(u"total").value(item.total);
        json.key(u"error");
        if (item.error)
            json.value(*item.error);
        else
            json.null();
        writePlaced(json, item);
        json.endObject();
    }
    json.endArray().endObject();
}

ConflictPolicy conflictPolicy(const Arguments& args)
{
    const std::optional<QString> given = args.option(QStringLiteral("on-conflict"));
    if (!given) return ConflictPolicy::Refuse;
    const std::optional<ConflictAnswer> answer = fromRawValue<ConflictAnswer>(*given);
    if (answer == ConflictAnswer::Skip) return ConflictPolicy::Skip;
    if (answer == ConflictAnswer::KeepBoth) return ConflictPolicy::KeepBoth;
    if (answer == ConflictAnswer::Replace) return ConflictPolicy::Replace;
    throw UsageError(QStringLiteral("--on-conflict takes skip, keep-both or replace"));
}

// The final paths of a job's items; a skipped item has none.
QStringList placedPaths(const TransferItem& item)
{
    QStringList paths;
    if (item.outcome)
        for (const PlacedItem& placed : item.outcome->placed)
            paths.append(placed.to);
    return paths;
}

int runTransfers(const Arguments& args, TransferKind kind)
{
    const ConflictPolicy onConflict = conflictPolicy(args);
    QStringList sources = args.positional();
    const QString destination = absolutePath(sources.takeLast());
    for (QString& source : sources)
        source = absolutePath(source);

    TransferStore store;
    TransferProgress progress;
    QEventLoop loop;
    auto finished = [&] {
        return std::none_of(store.items().begin(), store.items().end(), isPending);
    };
    QObject::connect(&store, &TransferStore::itemsChanged, &loop, [&] {
        progress.update(store);
        if (finished()) loop.quit();
    });
    // Ctrl-C stops the whole command: the running copy cleans up after itself.
    QTimer interrupt;
    QObject::connect(&interrupt, &QTimer::timeout, &loop, [&] {
        if (!Interrupt::requested()) return;
        interrupt.stop();
        const QList<TransferItem> items = store.items();
        for (const TransferItem& item : items)
            if (isPending(item)) store.cancel(item.id);
    });
    interrupt.start(50);
    store.enqueue(sources, destination, kind, onConflict);
    if (!finished()) loop.exec();
    progress.clear();

    bool failed = false, cancelled = false;
    for (const TransferItem& item : store.items()) {
        failed = failed || item.status == TransferStatus::Failed;
        cancelled = cancelled || item.status == TransferStatus::Cancelled;
    }
    if (args.json()) {
        writeJson(store.items());
    } else {
        OutputStream out;
        for (const TransferItem& item : store.items())
            for (const QString& path : placedPaths(item))
                out << terminalText(path) << '\n';
    }
    for (const TransferItem& item : store.items()) {
        if (item.status == TransferStatus::Completed && placedPaths(item).isEmpty())
            std::fprintf(stderr, "quorvane-cli: skipped: %s\n",
                         terminalText(item.source).constData());
        else if (item.status == TransferStatus::Failed)
            std::fprintf(stderr, "quorvane-cli: %s\n",
                         terminalText(item.error.value_or(QString())).constData());
        else if (item.status == TransferStatus::Cancelled)
            std::fprintf(stderr, "quorvane-cli: cancelled: %s\n",
                         terminalText(item.source).constData());
    }
    if (failed) return 1;
    return cancelled ? 130 : 0;
}

} // namespace

void registerTransferCommands(CommandRegistry& registry)
{
    const ArgumentSpec spec{{}, {QStringLiteral("on-conflict")}, 2, -1};
    const QString usage = QStringLiteral("SRC\u2026 DEST [--on-conflict=skip|keep-both|replace]");
    registry.add({QStringLiteral("copy"), usage,
                  QStringLiteral(
                      "Copies each SRC into the folder DEST, one at a time, with its metadata. A "
                      "name already in DEST fails that item unless --on-conflict answers: skip "
                      "leaves it out, keep-both copies it as \u201Cname (2).ext\u201D, replace "
                      "moves the old item to the trash once the copy is complete. Ctrl-C stops and "
                      "leaves nothing half-copied."),
                  spec,
                  [](const Arguments& args) { return runTransfers(args, TransferKind::Copy); }});
    registry.add({QStringLiteral("move"), usage,
                  QStringLiteral(
                      "Moves each SRC into the folder DEST: a rename on the same file system; on "
                      "another, a copy checked against SRC (sizes and modification times), after "
                      "which SRC goes to the trash. Taken names as for copy. A failure leaves SRC "
                      "as it was."),
                  spec,
                  [](const Arguments& args) { return runTransfers(args, TransferKind::Move); }});
}
