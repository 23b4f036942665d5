#include "native_path.h"

#include <cerrno>
#include <fcntl.h>
#include <memory>
#include <unistd.h>

namespace {

constexpr char16_t kEscapeBase = 0xDC00;

bool isEscapedByte(char16_t c)
{
    return c >= 0xDC80 && c <= 0xDCFF;
}

// The length of the well-formed UTF-8 sequence at `p` (RFC 3629: no overlong
// forms, no surrogates, nothing above U+10FFFF), or 0 when there is none.
int sequenceLength(const unsigned char* p, const unsigned char* end)
{
    const unsigned char lead = p[0];
    if (lead < 0x80) return 1;
    int length;
    unsigned char low = 0x80, high = 0xBF; // allowed range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return 0;
    }
    if (end - p < length) return 0;
    if (p[1] < low || p[1] > high) return 0;
    for (int i = 2; i < length; ++i)
        if ((p[i] & 0xC0) != 0x80) return 0;
    return length;
}

} // namespace

QString decodePath(QByteArrayView native)
{
    if (native.isValidUtf8()) return QString::fromUtf8(native);
    QString path;
    path.reserve(native.size());
    const auto* p = reinterpret_cast<const unsigned char*>(native.data());
    const auto* end = p + native.size();
    while (p < end) {
        const int length = sequenceLength(p, end);
        if (length == 0) {
            path.append(QChar(char16_t(kEscapeBase + *p)));
            ++p;
            continue;
        }
        path.append(QString::fromUtf8(reinterpret_cast<const char*>(p), length));
        p += length;
    }
    return path;
}

bool hasUndecodableBytes(QStringView path)
{
    for (qsizetype i = 0; i < path.size(); ++i) {
        const char16_t c = path[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < path.size() && path[i + 1].isLowSurrogate()) {
            ++i;
            continue;
        }
        if (isEscapedByte(c)) return true;
    }
    return false;
}

QByteArray nativePath(QStringView path)
{
    if (!hasUndecodableBytes(path)) return path.toUtf8();
    QByteArray native;
    native.reserve(path.size() + 8);
    qsizetype runStart = 0;
    for (qsizetype i = 0; i < path.size(); ++i) {
        const char16_t c = path[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < path.size() && path[i + 1].isLowSurrogate()) {
            ++i;
            continue;
        }
        if (!isEscapedByte(c)) continue;
        native += path.mid(runStart, i - runStart).toUtf8();
        native += char(c - kEscapeBase);
        runStart = i + 1;
    }
    native += path.mid(runStart).toUtf8();
    return native;
}

QString readablePath(QStringView path)
{
    QString text = path.toString();
    if (!hasUndecodableBytes(path)) return text;
    return QString::fromUtf8(nativePath(path));
}

QUrl urlForPath(const QString& path)
{
    if (!hasUndecodableBytes(path)) return QUrl::fromLocalFile(path);
    QUrl url;
    url.setScheme(QStringLiteral("file"));
    // Percent-encoded bytes that aren't UTF-8 stay encoded inside QUrl.
    url.setPath(QString::fromLatin1(nativePath(path).toPercentEncoding("/")), QUrl::TolerantMode);
    return url;
}

QString pathForUrl(const QUrl& url)
{
    if (!url.isLocalFile()) return url.toLocalFile();
    const QByteArray encoded = url.path(QUrl::FullyEncoded).toLatin1();
    if (!url.host().isEmpty()) return url.toLocalFile(); // a share: Qt's own form
    return decodePath(QByteArray::fromPercentEncoding(encoded));
}

QString currentFolder()
{
    std::unique_ptr<char, decltype(&::free)> cwd(::getcwd(nullptr, 0), &::free);
    return cwd ? decodePath(cwd.get()) : QString();
}

OpenablePath::OpenablePath(const QString& path)
{
    if (!hasUndecodableBytes(path)) {
        name_ = path;
        return;
    }
    // O_PATH neither reads nor blocks; the library opens the file again through it.
    fd_ = ::open(nativePath(path).constData(), O_PATH | O_CLOEXEC);
    if (fd_ >= 0) name_ = QStringLiteral("/proc/self/fd/%1").arg(fd_);
}

OpenablePath::~OpenablePath()
{
    if (fd_ >= 0) ::close(fd_);
}
