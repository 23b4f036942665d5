#pragma once

#include <QtGlobal>

// How far one copy has come: bytes of file data written out of `total`, which
// stays fixed for the whole copy.
struct CopyProgress {
    qint64 bytes = 0;
    qint64 total = 0;

    friend bool operator==(const CopyProgress&, const CopyProgress&) = default;
};
