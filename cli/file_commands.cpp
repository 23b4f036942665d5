#include "command_registry.h"
#include "entry_output.h"
#include "file_operations.h"
#include "file_size_format.h"
#include "interrupt.h"
#include "native_path.h"
#include "path_names.h"
#include "progress_line.h"
#include "terminal_text.h"

#include <algorithm>

namespace {

int list(const Arguments& args)
{
    const QList<FileEntry> entries =
        FileOperations::contents(args.positional().first(), args.flag(QStringLiteral("hidden")));
    OutputStream out;
    if (args.json()) {
        JsonWriter json(out);
        json.beginObject().key(u"entries");
        EntryOutput::writeJsonArray(json, entries);
        json.endObject();
        return 0;
    }
    for (const FileEntry& entry : entries)
        EntryOutput::writeRow(out, entry, false);
    return 0;
}

int scan(const Arguments& args)
{
    ProgressLine progress;
    // Entries are made one at a time as they are printed, never all at once.
    const auto report = FileOperations::scanCompact(
        args.positional().first(), Interrupt::check(), [&](qint64 seen) {
            progress.show(QStringLiteral("Scanning files\u2026 %L1 items").arg(seen));
        });
    progress.clear();
    OutputStream out;
    if (args.json()) {
        JsonWriter json(out);
        json.beginObject().key(u"files").beginArray();
        report.files.forEach([&](const FileEntry& entry) { EntryOutput::writeJson(json, entry); });
        json.endArray();
        json.key(u"inaccessible").value(report.inaccessible);
        json.key(u"total").value(report.total());
        json.endObject();
        return 0;
    }
    if (args.flag(QStringLiteral("files")))
        report.files.forEach(
            [&](const FileEntry& entry) { EntryOutput::writeRow(out, entry, true); });
    out << QStringLiteral("Files:         %L1\nTotal:         %2 (%L3 bytes)\nInaccessible:  %L4\n")
               .arg(report.files.size())
               .arg(formatFileSize(report.total()))
               .arg(report.total())
               .arg(report.inaccessible);
    return 0;
}

int classify(const Arguments& args)
{
    OutputStream out;
    JsonWriter json(out);
    if (args.json()) json.beginObject().key(u"kinds").beginArray();
    for (const QString& word : args.positional()) {
        // Accept "JPG", ".jpg" or "photo.jpg" alike: callers always classify lower case.
        QString ext = word.startsWith(u'.') ? word.mid(1) : word;
        if (ext.contains(u'.')) ext = extensionOf(ext);
        ext = ext.toLower();
        const QString kind = rawValue(FileEntry::classify(ext, false));
        if (args.json())
            json.beginObject().key(u"ext").value(ext).key(u"mediaKind").value(kind).endObject();
        else
            out << terminalText(ext) << '\t' << kind << '\n';
    }
    if (args.json()) json.endArray().endObject();
    return 0;
}

// Prints what an action made: {"path": "..."} or the path alone.
int reportPath(const Arguments& args, const QString& path)
{
    OutputStream out;
    if (args.json()) {
        JsonWriter json(out);
        json.beginObject();
        EntryOutput::writePath(json, path);
        json.endObject();
    } else {
        out << terminalText(path) << '\n';
    }
    return 0;
}

int makeFolder(const Arguments& args)
{
    const QString folder = absolutePath(args.positional()[0]);
    const QString& name = args.positional()[1];
    FileOperations::createFolder(folder, name);
    return reportPath(args, childPath(folder, name));
}

int renameItem(const Arguments& args)
{
    const QString item = absolutePath(args.positional()[0]);
    const QString& name = args.positional()[1];
    FileOperations::rename(item, name);
    return reportPath(args, childPath(parentFolder(item), name));
}

int trashItems(const Arguments& args)
{
    QStringList items;
    for (const QString& item : args.positional())
        items.append(absolutePath(item));
    FileOperations::trash(items);
    OutputStream out;
    if (args.json()) {
        JsonWriter json(out);
        json.beginObject().key(u"trashed").beginArray();
        for (const QString& item : items)
            json.value(item);
        json.endArray();
        // Beside the list, in its order, when a name isn't UTF-8: null for
        // the paths that are.
        if (std::any_of(items.begin(), items.end(), hasUndecodableBytes)) {
            json.key(u"nativeTrashed").beginArray();
            for (const QString& item : items)
                if (hasUndecodableBytes(item))
                    json.value(EntryOutput::nativeText(item));
                else
                    json.null();
            json.endArray();
        }
        json.endObject();
    } else {
        for (const QString& item : items)
            out << "Moved to the trash: " << terminalText(item) << '\n';
    }
    return 0;
}

} // namespace

void registerFileCommands(CommandRegistry& registry)
{
    registry.add({QStringLiteral("list"),
                  QStringLiteral("DIR [--hidden]"),
                  QStringLiteral("The folder's items, folders first, in natural name order."),
                  {{QStringLiteral("hidden")}, {}, 1, 1},
                  list});
    registry.add({QStringLiteral("scan"),
                  QStringLiteral("DIR [--files]"),
                  QStringLiteral("Every file below DIR (hidden items left out), with the total."),
                  {{QStringLiteral("files")}, {}, 1, 1},
                  scan});
    registry.add({QStringLiteral("classify"),
                  QStringLiteral("EXT\u2026"),
                  QStringLiteral("The media kind of each file-name extension."),
                  {{}, {}, 1, -1},
                  classify});
    registry.add({QStringLiteral("mkdir"),
                  QStringLiteral("DIR NAME"),
                  QStringLiteral("Makes the folder NAME inside DIR."),
                  {{}, {}, 2, 2},
                  makeFolder});
    registry.add({QStringLiteral("rename"),
                  QStringLiteral("ITEM NAME"),
                  QStringLiteral("Renames ITEM within its folder; never replaces an item."),
                  {{}, {}, 2, 2},
                  renameItem});
    registry.add({QStringLiteral("trash"),
                  QStringLiteral("ITEM\u2026"),
                  QStringLiteral("Moves each ITEM to the trash, stopping at the first failure."),
                  {{}, {}, 1, -1},
                  trashItems});
}
