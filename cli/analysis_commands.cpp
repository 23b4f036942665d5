#include "command_registry.h"
#include "disk_tree.h"
#include "duplicate_finder.h"
#include "entry_output.h"
#include "file_operations.h"
#include "file_size_format.h"
#include "interrupt.h"
#include "largest_files.h"
#include "library_filtering.h"
#include "native_path.h"
#include "path_names.h"
#include "progress_line.h"
#include "terminal_text.h"

#include <QHash>
#include <QSet>
#include <algorithm>

namespace {

// Every file below the folders, each path once even when folders overlap.
QList<FileEntry> scanAll(const QStringList& folders, ProgressLine& progress)
{
    QList<FileEntry> files;
    QSet<QString> seen;
    for (const QString& folder : folders) {
        const StorageReport report =
            FileOperations::scan(absolutePath(folder), Interrupt::check(), [&](qint64 items) {
                progress.show(QStringLiteral("Scanning files\u2026 %L1 items").arg(items));
            });
        if (folders.size() == 1) return report.files;
        for (const FileEntry& file : report.files)
            if (!seen.contains(file.path)) {
                seen.insert(file.path);
                files.append(file);
            }
    }
    return files;
}

// Only a non-empty file that shares its size with another can have a twin:
// the others never become entries.
QList<FileEntry> duplicateCandidates(const QStringList& folders, ProgressLine& progress)
{
    if (folders.size() != 1) return scanAll(folders, progress);
    const CompactStorageReport report = FileOperations::scanCompact(
        absolutePath(folders.first()), Interrupt::check(), [&](qint64 items) {
            progress.show(QStringLiteral("Scanning files\u2026 %L1 items").arg(items));
        });
    QHash<qint64, qsizetype> sizes;
    for (qsizetype i = 0; i < report.files.size(); ++i)
        if (const qint64 size = report.files.fileSize(i); size > 0) ++sizes[size];
    qsizetype shared = 0;
    for (const qsizetype count : std::as_const(sizes))
        shared += count > 1 ? count : 0;
    QList<FileEntry> files;
    files.reserve(shared);
    for (qsizetype i = 0; i < report.files.size(); ++i)
        if (const qint64 size = report.files.fileSize(i); size > 0 && sizes.value(size) > 1)
            files.append(report.files.entry(i));
    return files;
}

int duplicates(const Arguments& args)
{
    ProgressLine progress;
    const QList<FileEntry> files = duplicateCandidates(args.positional(), progress);
    progress.show(QStringLiteral("Comparing %L1 files\u2026").arg(files.size()), true);
    const DuplicateReport report = DuplicateFinder().report(files, Interrupt::check());
    progress.clear();

    const qint64 wasted = report.wasted();
    OutputStream out;
    if (args.json()) {
        JsonWriter json(out);
        json.beginObject().key(u"groups").beginArray();
        for (const auto& group : report.groups) {
            json.beginObject();
            json.key(u"size").value(group.first().size);
            json.key(u"wasted").value(report.wasted(group));
            json.key(u"files");
            EntryOutput::writeJsonArray(json, group);
            // Hard links of an earlier member: path -> that member's path.
            QList<std::pair<QString, QString>> links;
            for (const FileEntry& file : group)
                if (const auto as = report.sameFileAs.constFind(file.path);
                    as != report.sameFileAs.constEnd())
                    links.append({file.path, *as});
            json.key(u"sameFileAs").beginObject();
            for (const auto& [path, as] : links)
                json.key(path).value(as);
            json.endObject();
            // Keys that aren't UTF-8 become U+FFFD above and may clash: the
            // exact bytes of both sides, percent-encoded, where either needs it.
            if (std::ranges::any_of(links, [](const auto& link) {
                    return hasUndecodableBytes(link.first) || hasUndecodableBytes(link.second);
                })) {
                json.key(u"nativeSameFileAs").beginObject();
                for (const auto& [path, as] : links)
                    json.key(EntryOutput::nativeText(path)).value(EntryOutput::nativeText(as));
                json.endObject();
            }
            json.endObject();
        }
        json.endArray();
        json.key(u"wasted").value(wasted);
        json.key(u"skipped").value(report.skipped);
        json.endObject();
        return 0;
    }
    for (const auto& group : report.groups) {
        out << QStringLiteral("%1 files of %2 (%3 wasted)\n")
                   .arg(group.size())
                   .arg(formatFileSize(group.first().size), formatFileSize(report.wasted(group)));
        for (const FileEntry& file : group) {
            out << "  " << terminalText(file.path);
            if (report.sameFileAs.contains(file.path))
                out << "  (same file as " << terminalText(report.sameFileAs.value(file.path))
                    << ")";
            out << '\n';
        }
    }
    out << QStringLiteral("Groups:   %L1\nWasted:   %2 (%L3 bytes)\nSkipped:  %L4\n")
               .arg(report.groups.size())
               .arg(formatFileSize(wasted))
               .arg(wasted)
               .arg(report.skipped);
    return 0;
}

void writeNodeJson(JsonWriter& json, const StorageNode& node, qint64 depth)
{
    json.beginObject();
    EntryOutput::writePath(json, node.path());
    json.key(u"name").value(node.name());
    json.key(u"bytes").value(node.bytes());
    json.key(u"fileCount").value(node.fileCount());
    json.key(u"isDirectory").value(node.isDirectory());
    if (node.isDirectory() && depth > 0) {
        json.key(u"children").beginArray();
        for (const auto& child : *node.children())
            writeNodeJson(json, *child, depth - 1);
        json.endArray();
    }
    json.endObject();
}

void writeNodeRows(OutputStream& out, const StorageNode& node, qint64 depth, int indent)
{
    out << QStringLiteral("%1  %2  %3")
               .arg(formatFileSize(node.bytes()), 10)
               .arg(node.fileCount(), 9)
               .arg(QString(indent * 2, u' '))
        << terminalText(node.name()) << (node.isDirectory() ? "/\n" : "\n");
    if (node.isDirectory() && depth > 0)
        for (const auto& child : *node.children())
            writeNodeRows(out, *child, depth - 1, indent + 1);
}

int tree(const Arguments& args)
{
    const qint64 depth = args.integer(QStringLiteral("depth"), 0, 1000).value_or(1);
    const QString root = absolutePath(args.positional().first());
    ProgressLine progress;
    // Built straight from the walk: no file record is made for the 300,000th file.
    const auto built = DiskTree::build(root, Interrupt::check(), [&](qint64 seen) {
        progress.show(QStringLiteral("Scanning files\u2026 %L1 items").arg(seen));
    });
    progress.clear();
    // Freeing a few hundred thousand nodes only delays the exit.
    static auto* const kept = new std::shared_ptr<const StorageNode>;
    *kept = built;
    const StorageNode& top = **kept;
    OutputStream out;
    if (args.json()) {
        JsonWriter json(out);
        writeNodeJson(json, top, depth);
        return 0;
    }
    writeNodeRows(out, top, depth, 0);
    return 0;
}

int large(const Arguments& args)
{
    const qint64 limit = args.integer(QStringLiteral("limit"), 1, 1'000'000'000).value_or(20);
    QStringList folders;
    for (const QString& folder : args.positional())
        folders.append(absolutePath(folder));
    const QList<FileEntry> files = LargestFiles::find(folders, limit, Interrupt::check());
    OutputStream out;
    if (args.json()) {
        JsonWriter json(out);
        json.beginObject().key(u"files");
        EntryOutput::writeJsonArray(json, files);
        json.endObject();
        return 0;
    }
    for (const FileEntry& file : files)
        EntryOutput::writeRow(out, file, true);
    return 0;
}

template <typename E> E choice(const Arguments& args, const QString& name, E fallback)
{
    const std::optional<QString> text = args.option(name);
    if (!text) return fallback;
    if (const auto value = fromRawValue<E>(*text)) return *value;
    QStringList titles;
    for (E value : allCases<E>())
        titles.append(QStringLiteral("\u201C%1\u201D").arg(rawValue(value)));
    throw UsageError(QStringLiteral("--%1 takes one of %2").arg(name, titles.join(u", ")));
}

int filter(const Arguments& args)
{
    MediaFilter filter;
    using F = MediaFilter;
    filter.orientation = choice(args, QStringLiteral("orientation"), filter.orientation);
    filter.resolution = choice(args, QStringLiteral("resolution"), filter.resolution);
    filter.duration = choice(args, QStringLiteral("duration"), filter.duration);
    filter.size = choice(args, QStringLiteral("size"), filter.size);
    filter.sort = choice(args, QStringLiteral("sort"), filter.sort);
    filter.format = args.option(QStringLiteral("format")).value_or(F::allFormats());
    filter.days = int(args.integer(QStringLiteral("days"), 0, 1'000'000).value_or(0));
    std::optional<MediaKind> kind;
    if (const auto text = args.option(QStringLiteral("kind"))) {
        kind = fromRawValue<MediaKind>(*text);
        if (!kind)
            throw UsageError(QStringLiteral("--kind takes image, video, audio, document or other"));
    }

    ProgressLine progress;
    const QList<FileEntry> files = scanAll(args.positional(), progress);
    progress.clear();
    // No media properties are read here: with a property narrowing set, every
    // file is dropped, as it is before a section's properties arrive.
    const LibraryResult result = LibraryFiltering::evaluate(
        files, kind, false, {}, args.option(QStringLiteral("query")).value_or(QString()), filter,
        {}, true, Interrupt::check());
    OutputStream out;
    if (args.json()) {
        JsonWriter json(out);
        json.beginObject().key(u"files");
        EntryOutput::writeJsonArray(json, result.files);
        json.key(u"formats").beginArray();
        for (const QString& format : result.formats)
            json.value(format);
        json.endArray();
        json.key(u"totalBytes").value(result.totalBytes);
        json.endObject();
        return 0;
    }
    for (const FileEntry& file : result.files)
        EntryOutput::writeRow(out, file, true);
    out << QStringLiteral("Files:    %L1\nTotal:    %2 (%L3 bytes)\nFormats:  %4\n")
               .arg(result.files.size())
               .arg(formatFileSize(result.totalBytes))
               .arg(result.totalBytes)
               .arg(result.formats.join(u", "));
    return 0;
}

} // namespace

void registerAnalysisCommands(CommandRegistry& registry)
{
    registry.add({QStringLiteral("duplicates"),
                  QStringLiteral("DIR\u2026"),
                  QStringLiteral("Groups of files with identical contents (SHA-256), largest "
                                 "first, with the space they waste."),
                  {{}, {}, 1, -1},
                  duplicates});
    registry.add({QStringLiteral("tree"),
                  QStringLiteral("DIR [--depth N]"),
                  QStringLiteral("Bytes and files below each folder, largest first (depth 1 "
                                 "unless told)."),
                  {{}, {QStringLiteral("depth")}, 1, 1},
                  tree});
    registry.add({QStringLiteral("large"),
                  QStringLiteral("DIR\u2026 [--limit N]"),
                  QStringLiteral("The largest files, 20 unless told."),
                  {{}, {QStringLiteral("limit")}, 1, -1},
                  large});
    registry.add(
        {QStringLiteral("filter"),
         QStringLiteral("DIR\u2026 [--kind K] [--query Q] [--orientation O] [--resolution R] "
                        "[--duration D] [--format F] [--days N] [--size S] [--sort S]"),
         QStringLiteral("Files matching a search and filter, by the filter bar's titles "
                        "(\u201CLargest first\u201D, \u201C10\u2013100 MB\u201D, \u2026). "
                        "Media properties are not read: orientation, resolution and duration "
                        "then keep nothing."),
         {{},
          {QStringLiteral("kind"), QStringLiteral("query"), QStringLiteral("orientation"),
           QStringLiteral("resolution"), QStringLiteral("duration"), QStringLiteral("format"),
           QStringLiteral("days"), QStringLiteral("size"), QStringLiteral("sort")},
          1,
          -1},
         filter});
}
