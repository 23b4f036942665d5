#include "media/text_extractor.h"

#include "file_entry.h"
#include "file_error.h"
#include "media/isolated_render.h"
#include "media/scaled_image.h"
#include "media/text_recognizer.h"
#include "native_path.h"
#include "regular_file.h"

#include <QFileInfo>
#include <QImage>
#include <QStringList>
#include <QThreadPool>
#include <QtConcurrent>
#include <algorithm>
#include <climits>
#include <memory>
#include <poppler-qt6.h>

namespace {

// Pictures beyond this edge are shrunk first: recognition time and memory grow
// with the pixel count, and text stays legible.
constexpr int maxRecognitionEdge = 8000;
// A page that takes longer to draw is no scan but a hostile file.
constexpr RenderLimits pageLimits{std::chrono::seconds(60), qint64(1) << 30};

FileError recognitionUnavailable(const QString& path)
{
    return FileError::withDescription(
        path, QCoreApplication::translate("TextExtractor", "Text recognition is unavailable."));
}

FileError recognitionFailed(const QString& path)
{
    return FileError::withDescription(
        path, QCoreApplication::translate("TextExtractor", "Text recognition failed."));
}

bool hasText(const QStringList& pages)
{
    return std::any_of(pages.begin(), pages.end(),
                       [](const QString& page) { return !page.trimmed().isEmpty(); });
}

} // namespace

QString TextExtractor::noPdfTextMessage()
{
    return tr("No embedded text found in this PDF.");
}

QString TextExtractor::noTextMessage()
{
    return tr("No text found.");
}

QString TextExtractor::pageProgress(int page, int pages)
{
    return tr("Reading text\u2026 page %L1 of %L2").arg(page).arg(pages);
}

QString TextExtractor::percentProgress(int percent)
{
    return tr("Reading text\u2026 %L1%").arg(percent);
}

QFuture<QString> TextExtractor::read(const QString& path)
{
    return QtConcurrent::run(QThreadPool::globalInstance(), [path](QPromise<QString>& promise) {
        const CancelCheck isCancelled = [&promise] { return promise.isCanceled(); };
        // Progress values must grow for the text to be passed on.
        promise.setProgressRange(0, INT_MAX);
        int step = 0;
        const Progress progress = [&promise, &step](const QString& text) {
            promise.setProgressValueAndText(++step, text);
        };
        try {
            promise.addResult(readNow(path, isCancelled, progress));
        } catch (const Cancelled&) {
            promise.future().cancel();
        }
    });
}

QString TextExtractor::readNow(const QString& path, const CancelCheck& isCancelled,
                               const Progress& progress)
{
    if (!isRegularFile(path)) throw FileError::withDescription(path, notRegularFileMessage());
    if (extensionOf(QFileInfo(path).fileName()) == u"pdf")
        return readPdf(path, isCancelled, progress);
    return recognise(path, isCancelled, progress);
}

QString TextExtractor::readPdf(const QString& path, const CancelCheck& isCancelled,
                               const Progress& progress)
{
    const std::unique_ptr<Poppler::Document> document =
        Poppler::Document::load(OpenablePath(path).name());
    if (!document || document->isLocked()) return noPdfTextMessage();
    const int count = document->numPages();
    // Reading the text layer runs every page's drawing too; the renderer
    // process does it, so a hostile file can be stopped.
    const std::optional<QStringList> pages =
        readTextIsolated(RenderRequest::pdfTextLayer(path), pageLimits, isCancelled);
    throwIfCancelled(isCancelled);
    if (!pages) return noPdfTextMessage();
    if (count == 0 || hasText(*pages)) return pages->join(u'\n');

    // No text layer, as in a scan: read the pages' pictures instead.
    TextRecognizer recognizer;
    if (!recognizer.ready()) throw recognitionUnavailable(path);
    QStringList lines;
    for (int number = 0; number < count; ++number) {
        throwIfCancelled(isCancelled);
        if (progress) progress(pageProgress(number + 1, count));
        // Drawn by the renderer, which stops when the page overruns or the read is cancelled.
        const QImage picture =
            renderIsolated(RenderRequest::pdfScannedPage(path, number, maxRecognitionEdge),
                           pageLimits, isCancelled);
        throwIfCancelled(isCancelled);
        if (picture.isNull()) continue;
        const std::optional<QStringList> found = recognizer.lines(picture, isCancelled);
        if (!found) throw recognitionFailed(path);
        lines << *found;
    }
    // An empty sheet would look like a failure; say plainly that nothing was found.
    return lines.isEmpty() ? noTextMessage() : lines.join(u'\n');
}

QString TextExtractor::recognise(const QString& path, const CancelCheck& isCancelled,
                                 const Progress& progress)
{
    QString error;
    const QImage picture = readScaledImage(path, maxRecognitionEdge, &error);
    if (picture.isNull()) throw FileError::withDescription(path, error);
    TextRecognizer recognizer;
    if (!recognizer.ready()) throw recognitionUnavailable(path);
    const std::optional<QStringList> lines =
        recognizer.lines(picture, isCancelled, [&progress](int percent) {
            if (progress) progress(percentProgress(percent));
        });
    if (!lines) throw recognitionFailed(path);
    if (lines->isEmpty()) return noTextMessage();
    return lines->join(u'\n');
}
