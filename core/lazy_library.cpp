#include "lazy_library.h"

#include <QCoreApplication>
#include <dlfcn.h>

LazyLibrary::LazyLibrary(const char* fileName)
    : fileName_(QString::fromUtf8(fileName)), handle_(::dlopen(fileName, RTLD_NOW | RTLD_LOCAL))
{
    if (!handle_)
        error_ =
            QCoreApplication::translate("LazyLibrary", "The library %1 can\u2019t be loaded: %2")
                .arg(fileName_, QString::fromLocal8Bit(::dlerror()));
}

void* LazyLibrary::symbol(const char* name)
{
    if (!handle_) return nullptr;
    // Found in the library or in those it depends on.
    void* found = ::dlsym(handle_, name);
    if (!found && error_.isEmpty())
        error_ = QCoreApplication::translate("LazyLibrary", "The library %1 lacks %2.")
                     .arg(fileName_, QString::fromUtf8(name));
    return found;
}
