#pragma once

#include "file_entry.h"
#include "json_writer.h"

// How file entries look on the command line.
namespace EntryOutput {

// "path": PATH, and when PATH isn't UTF-8 also "nativePath": its exact bytes
// percent-encoded (RFC 3986, "/" kept), as in a file URL.
void writePath(JsonWriter& json, const QString& path);
// The same under another key: "from": PATH and "nativeFrom": its bytes.
void writePath(JsonWriter& json, const QString& key, const QString& path);
// A path's exact bytes percent-encoded, as in "nativePath".
QString nativeText(const QString& path);
// {"path", ["nativePath",] "name", "isDirectory", "size", "modified", "mediaKind"}
void writeJson(JsonWriter& json, const FileEntry& entry);
void writeJsonArray(JsonWriter& json, const QList<FileEntry>& entries);
// One table row: size, modified, kind, path or name (escaped for the terminal).
void writeRow(OutputStream& out, const FileEntry& entry, bool fullPath);

// ISO 8601 in UTC with milliseconds, e.g. 2024-01-31T09:05:00.250Z.
QByteArray isoDate(const QDateTime& date);
// Local time for tables, e.g. 2024-01-31 10:05; "–" when unknown.
QByteArray tableDate(const QDateTime& date);

} // namespace EntryOutput
