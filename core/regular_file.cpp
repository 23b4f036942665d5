#include "regular_file.h"

#include "native_path.h"

#include <sys/stat.h>

bool isRegularFile(const QString& path)
{
    struct stat status {};
    // stat never opens the file, so it cannot block on a pipe.
    return !path.isEmpty() && ::stat(nativePath(path).constData(), &status) == 0 &&
           S_ISREG(status.st_mode);
}
