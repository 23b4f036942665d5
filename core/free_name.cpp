#include "free_name.h"

#include "native_path.h"
#include "path_names.h"

#include <QRegularExpression>
#include <sys/stat.h>

namespace FreeName {

namespace {

constexpr int kLongestExtension = 10;

// Where the extension starts ("." included), or the name's length when it has
// none. A leading dot names a hidden item, not an extension; ".tar.gz" stays whole.
qsizetype extensionStart(const QString& name, bool isFolder)
{
    if (isFolder) return name.size();
    const qsizetype dot = name.lastIndexOf(u'.');
    if (dot <= 0 || dot == name.size() - 1 || name.size() - dot - 1 > kLongestExtension ||
        name.indexOf(u' ', dot) >= 0)
        return name.size();
    const qsizetype tar = dot - 4;
    if (tar > 0 && name.mid(tar, 4).compare(u".tar", Qt::CaseInsensitive) == 0) return tar;
    return dot;
}

bool taken(const QString& path)
{
    struct stat st;
    return ::lstat(nativePath(path).constData(), &st) == 0;
}

} // namespace

QString numbered(const QString& name, int n, bool isFolder)
{
    const qsizetype split = extensionStart(name, isFolder);
    QString base = name.left(split);
    static const QRegularExpression number(QStringLiteral(" \\(\\d+\\)$"));
    base.remove(number);
    return QStringLiteral("%1 (%2)%3").arg(base).arg(n).arg(name.mid(split));
}

QString next(const QString& folder, const QString& name, bool isFolder)
{
    const qsizetype split = extensionStart(name, isFolder);
    static const QRegularExpression number(QStringLiteral(" \\((\\d+)\\)$"));
    const QRegularExpressionMatch match = number.match(name.left(split));
    // "report (2).pdf" taken: go on from 3 rather than start over.
    int n = match.hasMatch() ? qMax(2, match.captured(1).toInt() + 1) : 2;
    for (;; ++n) {
        const QString candidate = numbered(name, n, isFolder);
        if (!taken(childPath(folder, candidate))) return candidate;
    }
}

} // namespace FreeName
