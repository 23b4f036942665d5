#pragma once

#include <QByteArray>
#include <QString>
#include <cerrno>
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
        if (!buffer_.isEmpty() && std::fwrite(buffer_.constData(), 1, size_t(buffer_.size()),
                                              file_) != size_t(buffer_.size()))
            failure_ = errno;
        buffer_.clear();
        if (std::fflush(file_) != 0 && failure_ == 0) failure_ = errno;
    }
    // Drops what hasn't gone out yet: a command that fails half-way prints no half document.
    void discard() { buffer_.clear(); }

    // The errno of the first write to any stream that failed (a full disk, a closed
    // pipe), 0 when all went out; the command then ends with a failure status.
    static int failure() { return failure_; }

private:
    static inline int failure_ = 0;
    static constexpr qsizetype kFlushAt = 1 << 20;
    FILE* file_;
    QByteArray buffer_;
};
