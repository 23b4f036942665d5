#include "json_writer.h"

#include "native_path.h"

#include <cmath>

void JsonWriter::separate()
{
    written_ = true;
    if (afterKey_) {
        afterKey_ = false;
        return;
    }
    if (!depth_.empty()) {
        if (depth_.back()) out_ << ',';
        depth_.back() = true;
    }
}

JsonWriter& JsonWriter::open(char bracket)
{
    separate();
    out_ << bracket;
    depth_.push_back(false);
    return *this;
}

JsonWriter& JsonWriter::close(char bracket)
{
    depth_.pop_back();
    out_ << bracket;
    return *this;
}

void JsonWriter::appendEscaped(QByteArray& out, QStringView text)
{
    out.append('"');
    // Undecodable bytes of a name become U+FFFD: JSON text is Unicode. The
    // exact bytes go in a separate "nativePath".
    const QByteArray utf8 = readablePath(text).toUtf8();
    for (const char c : utf8) {
        const auto u = static_cast<unsigned char>(c);
        switch (c) {
        case '"':
            out.append("\\\"");
            break;
        case '\\':
            out.append("\\\\");
            break;
        case '\n':
            out.append("\\n");
            break;
        case '\r':
            out.append("\\r");
            break;
        case '\t':
            out.append("\\t");
            break;
        default:
            if (u < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", u);
                out.append(escaped);
            } else {
                out.append(c);
            }
        }
    }
    out.append('"');
}

JsonWriter& JsonWriter::key(QStringView name)
{
    separate();
    scratch_.clear();
    appendEscaped(scratch_, name);
    out_ << scratch_ << ':';
    afterKey_ = true;
    return *this;
}

JsonWriter& JsonWriter::value(QStringView text)
{
    separate();
    scratch_.clear();
    appendEscaped(scratch_, text);
    out_ << scratch_;
    return *this;
}

JsonWriter& JsonWriter::value(qint64 number)
{
    separate();
    out_ << number;
    return *this;
}

JsonWriter& JsonWriter::value(double number)
{
    if (!std::isfinite(number)) return null();
    separate();
    out_ << QByteArray::number(number, 'g', 17);
    return *this;
}

JsonWriter& JsonWriter::value(bool flag)
{
    separate();
    out_ << (flag ? "true" : "false");
    return *this;
}

JsonWriter& JsonWriter::null()
{
    separate();
    out_ << "null";
    return *this;
}
