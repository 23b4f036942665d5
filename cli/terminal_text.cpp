#include "terminal_text.h"

#include "native_path.h"

#include <cstdio>

namespace {

void appendOctal(QByteArray& out, unsigned char byte)
{
    char escaped[5];
    std::snprintf(escaped, sizeof escaped, "\\%03o", byte);
    out.append(escaped);
}

void appendControl(QByteArray& out, char16_t c)
{
    switch (c) {
    case u'\a':
        out.append("\\a");
        return;
    case u'\b':
        out.append("\\b");
        return;
    case u'\t':
        out.append("\\t");
        return;
    case u'\n':
        out.append("\\n");
        return;
    case u'\v':
        out.append("\\v");
        return;
    case u'\f':
        out.append("\\f");
        return;
    case u'\r':
        out.append("\\r");
        return;
    default:
        break;
    }
    // C1 controls are two bytes in UTF-8; each is shown.
    for (const char byte : QStringView(&c, 1).toUtf8())
        appendOctal(out, static_cast<unsigned char>(byte));
}

bool isControl(char16_t c)
{
    return c < 0x20 || c == 0x7f || (c >= 0x80 && c <= 0x9f);
}

} // namespace

QByteArray terminalText(QStringView text)
{
    QByteArray out;
    out.reserve(text.size() + 8);
    qsizetype plainStart = 0;
    auto flushPlain = [&](qsizetype end) {
        if (end > plainStart) out.append(text.mid(plainStart, end - plainStart).toUtf8());
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            ++i;
            continue;
        }
        const bool undecodable = hasUndecodableBytes(text.mid(i, 1));
        if (!undecodable && !isControl(c) && c != u'\\') continue;
        flushPlain(i);
        plainStart = i + 1;
        if (undecodable)
            appendOctal(out, static_cast<unsigned char>(nativePath(text.mid(i, 1)).at(0)));
        else if (c == u'\\')
            out.append("\\\\");
        else
            appendControl(out, c);
    }
    flushPlain(text.size());
    return out;
}
