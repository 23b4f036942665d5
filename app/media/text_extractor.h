#pragma once

#include "cancellation.h"

#include <QFuture>
#include <QString>

// Reads the text out of a file: the text layer of a PDF, or what recognition
// finds in a picture. Keeps no state; any number of reads may run at once.
class TextExtractor {
public:
    static QString noPdfTextMessage();
    static QString noTextMessage();

    // Runs on a worker thread, never the caller's. The future holds the text or
    // one of the two messages, or a FileError when a picture cannot be read or
    // recognised. Cancelling the future stops a long read early.
    static QFuture<QString> read(const QString& path);

    // The same, on the calling thread; throws Cancelled when asked to stop.
    static QString readNow(const QString& path, const CancelCheck& isCancelled = {});

private:
    static QString readPdf(const QString& path, const CancelCheck& isCancelled);
    static QString recognise(const QString& path, const CancelCheck& isCancelled);
};
