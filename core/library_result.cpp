#include "library_result.h"

const LibraryResult& LibraryResult::empty()
{
    static const LibraryResult value{{}, {QStringLiteral("All formats")}, 0};
    return value;
}
