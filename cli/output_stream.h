#pragma once

#include <QByteArray>
#include <QString>
#include <cstdio>
#include <cstring>

// Buffered writing to a stdio stream: big listings go out in large blocks.
class OutputStream {
public:
    explicit OutputStream(FILE* file = stdout) : file_(file) { buffer_.reserve(kFlushAt + 4096); }
    ~OutputStream() { flush(); }
    OutputStream(const OutputStream&) = delete;
    OutputStream& operator=(const OutputStream&) = delete;

    OutputStream& operator<<(const QByteArray& bytes)
    {
        return write(bytes.constData(), bytes.size());
    }
    OutputStream& operator<<(const QString& text) { return *this << text.toUtf8(); }
    OutputStream& operator<<(const char* text) { return write(text, qsizetype(std::strlen(text))); }
    OutputStream& operator<<(char c) { return write(&c, 1); }
    OutputStream& operator<<(qint64 value) { return *this << QByteArray::number(value); }
    OutputStream& write(const char* data, qsizetype size)
    {
        buffer_.append(data, size);
        if (buffer_.size() >= kFlushAt) flush();
        return *this;
    }
    void flush()
    {
        if (!buffer_.isEmpty()) std::fwrite(buffer_.constData(), 1, size_t(buffer_.size()), file_);
        buffer_.clear();
        std::fflush(file_);
    }

private:
    static constexpr qsizetype kFlushAt = 1 << 20;
    FILE* file_;
    QByteArray buffer_;
};
