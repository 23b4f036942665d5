#include "file_error.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <cerrno>
#include <cstring>

namespace {

QString quoted(const QString& text)
{
    return QCoreApplication::translate("FileError", "\u201C%1\u201D").arg(text);
}

QString quotedName(const QString& path)
{
    QString name = QFileInfo(path).fileName();
    if (name.isEmpty()) name = path;
    return quoted(name);
}

QString describe(FileError::Code code, int error, const QString& path)
{
    const QString name = quotedName(path);
    switch (code) {
    case FileError::Code::FileReadNoPermission:
        return QCoreApplication::translate("FileError",
                                           "The folder %1 couldn\u2019t be opened because you "
                                           "don\u2019t have permission to see its contents.")
            .arg(name);
    case FileError::Code::FileWriteInvalidFileName:
        return QCoreApplication::translate("FileError",
                                           "The name %1 can\u2019t be used. A name can\u2019t be "
                                           "blank, \u201C.\u201D or \u201C..\u201D, or contain "
                                           "\u201C/\u201D, \u201C:\u201D or a NUL character.")
            .arg(quoted(path)); // the name as typed: "a/b", not its last part
    case FileError::Code::FileWriteFileExists:
        return QCoreApplication::translate("FileError",
                                           "An item named %1 already exists in this location.")
            .arg(name);
    case FileError::Code::FileWriteUnknown:
        return QCoreApplication::translate("FileError", "%1 couldn\u2019t be saved.").arg(name);
    case FileError::Code::FileReadUnknown:
        return QCoreApplication::translate("FileError", "%1 couldn\u2019t be read.").arg(name);
    case FileError::Code::System:
        break;
    }
    // The name, then the system's reason.
    return QCoreApplication::translate("FileError", "%1: %2")
        .arg(name, QString::fromLocal8Bit(std::strerror(error)));
}

} // namespace

FileError::FileError(Code code, QString path) : FileError(code, 0, std::move(path)) {}

FileError::FileError(Code code, int error, QString path)
    : code_(code), errno_(error), path_(std::move(path)), message_(describe(code_, errno_, path_)),
      what_(message_.toUtf8())
{
}

FileError FileError::fromErrno(int error, QString path)
{
    if (error == EEXIST) return FileError(Code::FileWriteFileExists, error, std::move(path));
    return FileError(Code::System, error, std::move(path));
}

FileError FileError::withDescription(QString path, const QString& description)
{
    FileError error(Code::System, 0, std::move(path));
    // Without a path (a service, not a file, failed) the reason stands alone.
    error.message_ = error.path_.isEmpty() ? description
                                           : QCoreApplication::translate("FileError", "%1: %2")
                                                 .arg(quotedName(error.path_), description);
    error.what_ = error.message_.toUtf8();
    return error;
}

FileError FileError::withMessage(Code code, QString path, const QString& message)
{
    FileError error(code, 0, std::move(path));
    error.message_ = message;
    error.what_ = error.message_.toUtf8();
    return error;
}
