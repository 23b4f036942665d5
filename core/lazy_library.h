#pragma once

#include <QString>

// A shared library opened on its first use instead of at start, so that a
// program which never needs it doesn't pay, on every run, for loading it and
// all it pulls in. It stays open: its functions may be held anywhere.
class LazyLibrary {
public:
    explicit LazyLibrary(const char* fileName);

    // Why the library or one of the functions asked for is missing; empty
    // while all is there.
    const QString& error() const { return error_; }

    // The function `name`, typed as its header declares it (decltype(&name));
    // null when missing, and error() then says so.
    template <typename Function> Function function(const char* name)
    {
        return reinterpret_cast<Function>(symbol(name));
    }

private:
    void* symbol(const char* name);

    QString fileName_;
    void* handle_;
    QString error_;
};
