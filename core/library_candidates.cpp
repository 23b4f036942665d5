#include "library_candidates.h"

#include "code_point_order.h"
#include "media_filter.h"
#include "text_matcher.h"

#include <algorithm>
#include <array>

namespace {

constexpr qsizetype kCheckEvery = 256;

// Names carry few distinct extensions; remember the recent ones as written so
// most entries cost no case mapping.
class FormatCollector {
public:
    explicit FormatCollector(QSet<QString>& seen) : seen_(seen) {}

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
    QSet<QString>& seen_;
};

bool isScreenshot(const FileEntry& entry, const QSet<QString>& screenshots)
{
    static const TextMatcher joined(QStringLiteral("screenshot"));
    static const TextMatcher spaced(QStringLiteral("screen shot"));
    if (!screenshots.isEmpty() && screenshots.contains(entry.path)) return true;
    return joined.foundIn(entry.name) || spaced.foundIn(entry.name);
}

} // namespace

bool LibraryCandidates::Scope::sameAs(const Scope& other) const
{
    return files.isSharedWith(other.files) && kind == other.kind &&
           screenshotsOnly == other.screenshotsOnly && filesOnly == other.filesOnly &&
           minimumSize == other.minimumSize &&
           (!screenshotsOnly || screenshots == other.screenshots);
}

LibraryCandidates::LibraryCandidates(Scope scope, const CancelCheck& isCancelled)
    : scope_(std::move(scope))
{
    FormatCollector formats(formats_);
    const QList<FileEntry>& files = scope_.files;
    for (qsizetype i = 0; i < files.size(); ++i) {
        if (i % kCheckEvery == 0) throwIfCancelled(isCancelled);
        const FileEntry& entry = files[i];
        if (scope_.minimumSize > 0 && entry.size < scope_.minimumSize) continue;
        if (scope_.kind && entry.mediaKind != *scope_.kind) continue;
        if (scope_.filesOnly && entry.isDirectory) continue;
        if (scope_.screenshotsOnly && !isScreenshot(entry, scope_.screenshots)) continue;
        formats.add(entry);
        names_.add(quint32(i), entry.name);
    }
    names_.squeeze();
}

qsizetype LibraryCandidates::bytes() const
{
    return names_.bytes();
}

QList<FileEntry> LibraryCandidates::matching(const QString& query,
                                             const CancelCheck& isCancelled) const
{
    const std::vector<quint32> found =
        query.isEmpty() ? names_.owners() : names_.containing(query, isCancelled);
    if (qsizetype(found.size()) == scope_.files.size()) return scope_.files;
    QList<FileEntry> matched;
    matched.reserve(qsizetype(found.size()));
    for (quint32 owner : found)
        matched.append(scope_.files[owner]);
    return matched;
}

QStringList LibraryCandidates::formats(const QString& current) const
{
    QSet<QString> seen = formats_;
    if (current != MediaFilter::allFormats()) seen.insert(current);
    seen.remove(MediaFilter::allFormats());
    QStringList formats(seen.begin(), seen.end());
    std::sort(formats.begin(), formats.end(), codePointLess);
    formats.prepend(MediaFilter::allFormats());
    return formats;
}
