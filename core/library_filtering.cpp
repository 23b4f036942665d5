#include "library_filtering.h"

#include "code_point_order.h"
#include "text_matcher.h"

#include <algorithm>
#include <array>

namespace {

constexpr qsizetype kCheckEvery = 256;

// Names carry few distinct extensions; remember the recent ones as written so
// most entries cost no case mapping.
class FormatCollector {
public:
    void add(const FileEntry& entry)
    {
        const QStringView ext = rawExtension(entry.name);
        for (std::size_t i = 0; i < used_; ++i)
            if (recent_[i] == ext) return;
        recent_[next_] = ext.toString();
        next_ = (next_ + 1) % recent_.size();
        used_ = std::min(used_ + 1, recent_.size());
        seen_.insert(MediaFilter::formatOf(entry));
    }

    QStringList list(const QString& current)
    {
        if (current != MediaFilter::allFormats()) seen_.insert(current);
        seen_.remove(MediaFilter::allFormats());
        QStringList formats(seen_.begin(), seen_.end());
        std::sort(formats.begin(), formats.end(), codePointLess);
        formats.prepend(MediaFilter::allFormats());
        return formats;
    }

private:
    // The extension as written; the same rule as FileEntry::ext before lower-casing.
    static QStringView rawExtension(QStringView name)
    {
        const qsizetype dot = name.lastIndexOf(u'.');
        if (dot <= 0 || dot == name.size() - 1) return u"";
        return name.mid(dot + 1);
    }

    std::array<QString, 16> recent_;
    std::size_t used_ = 0, next_ = 0;
    QSet<QString> seen_;
};

bool isScreenshot(const FileEntry& entry, const QSet<QString>& screenshots)
{
    static const TextMatcher joined(QStringLiteral("screenshot"));
    static const TextMatcher spaced(QStringLiteral("screen shot"));
    if (!screenshots.isEmpty() && screenshots.contains(entry.path)) return true;
    return joined.foundIn(entry.name) || spaced.foundIn(entry.name);
}

} // namespace

LibraryResult LibraryFiltering::evaluate(const QList<FileEntry>& files,
                                         std::optional<MediaKind> kind, bool screenshotsOnly,
                                         const QSet<QString>& screenshots, const QString& query,
                                         const MediaFilter& filter,
                                         const MediaMetadataMap& metadata, bool filesOnly,
                                         const CancelCheck& isCancelled)
{
    const TextMatcher search(query);
    FormatCollector formats;
    QList<FileEntry> matched;
    for (qsizetype i = 0; i < files.size(); ++i) {
        if (i % kCheckEvery == 0) throwIfCancelled(isCancelled);
        const FileEntry& entry = files[i];
        if (kind && entry.mediaKind != *kind) continue;
        if (filesOnly && entry.isDirectory) continue;
        if (screenshotsOnly && !isScreenshot(entry, screenshots)) continue;
        formats.add(entry);
        if (!query.isEmpty() && !search.foundIn(entry.name)) continue;
        matched.append(entry);
    }
    throwIfCancelled(isCancelled);

    LibraryResult result;
    result.files = filter.apply(matched, QDateTime::currentDateTimeUtc(), metadata);
    throwIfCancelled(isCancelled);
    result.formats = formats.list(filter.format);
    for (const FileEntry& entry : result.files)
        result.totalBytes += entry.size;
    return result;
}
