#pragma once

#include <QException>
#include <QString>

// A failed file operation. The named codes are the ones the services raise
// themselves; `System` carries the errno of the failing call.
class FileError : public QException {
public:
    enum class Code {
        FileReadUnknown = 256,
        FileReadNoPermission = 257,
        FileWriteUnknown = 512,
        FileWriteInvalidFileName = 514,
        FileWriteFileExists = 516,
        System = -1,
    };

    FileError(Code code, QString path);
    // From errno of a failed call on `path`; EEXIST becomes FileWriteFileExists.
    static FileError fromErrno(int error, QString path);
    // A system failure whose text came from elsewhere (a library's own message).
    static FileError withDescription(QString path, const QString& description);
    // A named code whose usual sentence would mislead in this situation.
    static FileError withMessage(Code code, QString path, const QString& message);

    Code code() const { return code_; }
    int systemError() const { return errno_; }
    const QString& path() const { return path_; }
    // One sentence a person can read.
    QString message() const { return message_; }

    const char* what() const noexcept override { return what_.constData(); }
    void raise() const override { throw *this; }
    FileError* clone() const override { return new FileError(*this); }

private:
    FileError(Code code, int error, QString path);

    Code code_;
    int errno_ = 0;
    QString path_;
    QString message_;
    QByteArray what_;
};

// A cancelled job. Never shown as a failure.
class Cancelled : public QException {
public:
    const char* what() const noexcept override { return "cancelled"; }
    void raise() const override { throw *this; }
    Cancelled* clone() const override { return new Cancelled(*this); }
};
