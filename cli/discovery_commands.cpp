#include "command_registry.h"
#include "entry_output.h"
#include "file_error.h"
#include "interrupt.h"
#include "json_writer.h"
#include "media_metadata_reader.h"
#include "path_names.h"
#include "terminal_text.h"
#include "tracker_library_discovery.h"

#include <QEventLoop>
#include <QTimer>

namespace {

void writeSnapshot(const LibrarySnapshot& snapshot, bool json)
{
    OutputStream out;
    if (!json) {
        for (const FileEntry& entry : snapshot.files)
            EntryOutput::writeRow(out, entry, true);
        return;
    }
    JsonWriter writer(out);
    writer.beginObject().key(u"files");
    EntryOutput::writeJsonArray(writer, snapshot.files);
    writer.key(u"screenshots").beginArray();
    for (const FileEntry& entry : snapshot.files)
        if (snapshot.screenshots.contains(entry.path)) writer.value(entry.path);
    writer.endArray();
    writer.key(u"gathering").value(snapshot.gathering);
    writer.endObject();
}

int discover(const Arguments& args)
{
    const auto kind = fromRawValue<MediaKind>(args.positional().value(0));
    if (!kind)
        throw UsageError(QStringLiteral("KIND is one of image, video, audio, document, other"));
    const bool watch = args.flag(QStringLiteral("watch"));

    TrackerLibraryDiscovery discovery;
    QEventLoop loop;
    std::optional<QString> failure;
    discovery.start(*kind, args.flag(QStringLiteral("screenshots")),
                    [&](const LibrarySnapshot& snapshot) {
                        if (snapshot.message) {
                            failure = snapshot.message;
                            loop.quit();
                            return;
                        }
                        if (snapshot.gathering) return;
                        writeSnapshot(snapshot, args.json());
                        if (!watch) loop.quit();
                    });
    QTimer interrupt;
    QObject::connect(&interrupt, &QTimer::timeout, &loop, [&] {
        if (Interrupt::requested()) loop.quit();
    });
    interrupt.start(50);
    if (!failure) loop.exec();
    discovery.stop();
    if (failure) throw FileError::withDescription(QString(), *failure);
    return Interrupt::requested() && !watch ? 130 : 0;
}

int meta(const Arguments& args)
{
    OutputStream out;
    JsonWriter json(out);
    if (args.json()) json.beginObject().key(u"items").beginArray();
    for (const QString& given : args.positional()) {
        const FileEntry entry = FileEntry::fromPath(absolutePath(given));
        const MediaMetadata metadata = MediaMetadataReader::readNow(entry);
        if (args.json()) {
            json.beginObject();
            EntryOutput::writePath(json, entry.path);
            json.key(u"mediaKind").value(rawValue(entry.mediaKind));
            json.key(u"width").value(metadata.width);
            json.key(u"height").value(metadata.height);
            json.key(u"duration").value(metadata.duration);
            json.endObject();
            continue;
        }
        const QString duration = metadata.duration
                                     ? QString::number(*metadata.duration, 'f', 3) + u's'
                                     : QStringLiteral("\u2013");
        out << QStringLiteral("%1\u00d7%2\t%3\t%4\t")
                   .arg(metadata.width)
                   .arg(metadata.height)
                   .arg(duration, rawValue(entry.mediaKind))
            << terminalText(entry.path) << '\n';
    }
    if (args.json()) json.endArray().endObject();
    return 0;
}

} // namespace

void registerDiscoveryCommands(CommandRegistry& registry)
{
    registerDiscoveryCommands(registry, [](const QString& name, const Arguments& args) {
        return name == u"discover" ? discover(args) : meta(args);
    });
}
