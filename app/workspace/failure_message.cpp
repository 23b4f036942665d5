#include "workspace/failure_message.h"

#include "file_error.h"

#include <QCoreApplication>

QString failureMessage(const std::exception_ptr& failure)
{
    try {
        std::rethrow_exception(failure);
    } catch (const FileError& error) {
        return error.message();
    } catch (const std::exception& error) {
        return QString::fromUtf8(error.what());
    } catch (...) {
        return QCoreApplication::translate("FailureMessage", "An unknown error occurred.");
    }
}
