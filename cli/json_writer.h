#pragma once

#include "output_stream.h"

#include <QStringView>
#include <exception>
#include <optional>
#include <vector>

// Streams JSON text; commas and nesting are kept track of here.
class JsonWriter {
public:
    explicit JsonWriter(OutputStream& out) : out_(out), exceptions_(std::uncaught_exceptions()) {}
    ~JsonWriter()
    {
        // Left by an exception: the caller reports the failure instead.
        if (std::uncaught_exceptions() > exceptions_)
            out_.discard();
        else if (written_ && depth_.empty())
            out_ << '\n';
    }

    JsonWriter& beginObject() { return open('{'); }
    JsonWriter& endObject() { return close('}'); }
    JsonWriter& beginArray() { return open('['); }
    JsonWriter& endArray() { return close(']'); }
    JsonWriter& key(QStringView name);
    JsonWriter& value(QStringView text);
    JsonWriter& value(const char* text) { return value(QString::fromUtf8(text)); }
    JsonWriter& value(qint64 number);
    JsonWriter& value(int number) { return value(qint64(number)); }
    JsonWriter& value(double number);
    JsonWriter& value(bool flag);
    JsonWriter& null();
    // Writes the number, or null when absent.
    JsonWriter& value(std::optional<double> number) { return number ? value(*number) : null(); }

    static void appendEscaped(QByteArray& out, QStringView text);

private:
    JsonWriter& open(char bracket);
    JsonWriter& close(char bracket);
    void separate();

    OutputStream& out_;
    int exceptions_;
    bool written_ = false;
    std::vector<bool> depth_; // per level: has an element been written
    bool afterKey_ = false;
    QByteArray scratch_;
};
