#include "entry_output.h"

#include "distant_past.h"
#include "file_size_format.h"
#include "native_path.h"
#include "terminal_text.h"

#include <ctime>

namespace EntryOutput {

namespace {

bool brokenDown(const QDateTime& date, bool utc, std::tm& parts, int& millis)
{
    if (!date.isValid() || isDistantPast(date)) return false;
    const qint64 ms = date.toMSecsSinceEpoch();
    const std::time_t seconds = std::time_t(ms >= 0 ? ms / 1000 : (ms - 999) / 1000);
    millis = int(ms - qint64(seconds) * 1000);
    return (utc ? gmtime_r(&seconds, &parts) : localtime_r(&seconds, &parts)) != nullptr;
}

} // namespace

QByteArray isoDate(const QDateTime& date)
{
    std::tm parts{};
    int millis = 0;
    if (!brokenDown(date, true, parts, millis)) return {};
    char text[64];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d.%03dZ", parts.tm_year + 1900,
                  parts.tm_mon + 1, parts.tm_mday, parts.tm_hour, parts.tm_min, parts.tm_sec,
                  millis);
    return text;
}

QByteArray tableDate(const QDateTime& date)
{
    std::tm parts{};
    int millis = 0;
    if (!brokenDown(date, false, parts, millis)) return QByteArray("\u2013              ");
    char text[64];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d", parts.tm_year + 1900,
                  parts.tm_mon + 1, parts.tm_mday, parts.tm_hour, parts.tm_min);
    return text;
}

QString nativeText(const QString& path)
{
    return QString::fromLatin1(nativePath(path).toPercentEncoding("/"));
}

void writePath(JsonWriter& json, const QString& path)
{
    writePath(json, QStringLiteral("path"), path);
}

void writePath(JsonWriter& json, const QString& key, const QString& path)
{
    json.key(key).value(path);
    if (hasUndecodableBytes(path))
        json.key(QStringLiteral("native") + key.first(1).toUpper() + key.sliced(1))
            .value(nativeText(path));
}

void writeJson(JsonWriter& json, const FileEntry& entry)
{
    json.beginObject();
    writePath(json, entry.path);
    json.key(u"name").value(entry.name);
    json.key(u"isDirectory").value(entry.isDirectory);
    json.key(u"size").value(entry.size);
    json.key(u"modified");
    const QByteArray date = isoDate(entry.modified);
    if (date.isEmpty())
        json.null();
    else
        json.value(QString::fromLatin1(date));
    json.key(u"mediaKind").value(rawValue(entry.mediaKind));
    json.endObject();
}

void writeJsonArray(JsonWriter& json, const QList<FileEntry>& entries)
{
    json.beginArray();
    for (const FileEntry& entry : entries)
        writeJson(json, entry);
    json.endArray();
}

void writeRow(OutputStream& out, const FileEntry& entry, bool fullPath)
{
    const QByteArray size =
        entry.isDirectory ? QByteArray("\u2013") : formatFileSize(entry.size).toUtf8();
    const QByteArray kind =
        entry.isDirectory ? QByteArray("folder") : rawValue(entry.mediaKind).toUtf8();
    char head[96];
    // The dash is three bytes but one column wide.
    const int sizeWidth = entry.isDirectory ? 12 : 10;
    std::snprintf(head, sizeof head, "%*s  %s  %-8s  ", sizeWidth, size.constData(),
                  tableDate(entry.modified).constData(), kind.constData());
    out << head << terminalText(fullPath ? entry.path : entry.name);
    if (entry.isDirectory && !fullPath) out << '/';
    out << '\n';
}

} // namespace EntryOutput
