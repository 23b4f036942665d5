#pragma once

#include "cancellation.h"

#include <QCoreApplication>
#include <QFuture>
#include <QString>
#include <functional>

// Reads the text out of a file: the text layer of a PDF, or what recognition
// finds in a picture or in the pages of a PDF without a text layer (a scan).
// Keeps no state; any number of reads may run at once.
class TextExtractor {
    Q_DECLARE_TR_FUNCTIONS(TextExtractor)

public:
    // How far a long read is, as a line to show ("Reading text… page 2 of 9").
    using Progress = std::function<void(const QString&)>;

    static QString noPdfTextMessage();
    static QString noTextMessage();
    static QString pageProgress(int page, int pages);
    static QString percentProgress(int percent);

    // Runs on a worker thread, never the caller's. The future holds the text or
    // one of the two messages, or a FileError when a picture cannot be read or
    // recognised; its progress text follows a long recognition. Cancelling the
    // future stops a long read early.
    static QFuture<QString> read(const QString& path);

    // The same, on the calling thread; throws Cancelled when asked to stop.
    static QString readNow(const QString& path, const CancelCheck& isCancelled = {},
                           const Progress& progress = {});

private:
    static QString readPdf(const QString& path, const CancelCheck& isCancelled,
                           const Progress& progress);
    static QString recognise(const QString& path, const CancelCheck& isCancelled,
                             const Progress& progress);
};
