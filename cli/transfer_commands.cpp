#include "command_registry.h"
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

void writeJson(const QList<TransferItem>& items)
{
    OutputStream out;
    JsonWriter json(out);
    json.beginObject().key(u"items").beginArray();
    for (const TransferItem& item : items) {
        json.beginObject();
        json.key(u"id").value(item.id.toString(QUuid::WithoutBraces));
        json.key(u"name").value(item.name());
        json.key(u"source").value(item.source);
        json.key(u"destination").value(item.destination());
        json.key(u"status").value(rawValue(item.status));
        json.key(u"bytes").value(item.bytes);
        json.key(u"total").value(item.total);
        json.key(u"error");
        if (item.error)
            json.value(*item.error);
        else
            json.null();
        json.endObject();
    }
    json.endArray().endObject();
}

int copyItems(const Arguments& args)
{
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
    store.enqueue(sources, destination);
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
            if (item.status == TransferStatus::Completed)
                out << terminalText(childPath(item.destination(), item.name())) << '\n';
    }
    for (const TransferItem& item : store.items()) {
        if (item.status == TransferStatus::Failed)
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
    registry.add({QStringLiteral("copy"),
                  QStringLiteral("SRC\u2026 DEST"),
                  QStringLiteral("Copies each SRC into the folder DEST, one at a time, with its "
                                 "metadata; never replaces an item. Ctrl-C stops and leaves "
                                 "nothing half-copied."),
                  {{}, {}, 2, -1},
                  copyItems});
}
