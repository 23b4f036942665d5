#include "text_extractor.h"

#include "file_entry.h"
#include "file_error.h"
#include "native_path.h"
#include "scaled_image.h"

#include <QFileInfo>
#include <QImage>
#include <QStringList>
#include <QThreadPool>
#include <QtConcurrent>
#include <memory>
#include <mutex>
#include <poppler-qt6.h>
#include <tesseract/baseapi.h>
#include <tesseract/ocrclass.h>
#include <tesseract/resultiterator.h>

namespace {

// Pictures beyond this edge are shrunk first: recognition time and memory grow
// with the pixel count, and text stays legible.
constexpr int maxRecognitionEdge = 8000;

// Tesseract's OpenMP build spins on every core while it waits, which makes it
// several times slower on a busy machine. Must happen before it first starts.
void limitOpenMpThreads()
{
    static std::once_flag once;
    std::call_once(once, [] {
        if (qEnvironmentVariableIsEmpty("OMP_THREAD_LIMIT")) qputenv("OMP_THREAD_LIMIT", "1");
    });
}

bool cancelRecognition(void* check, int)
{
    const auto* isCancelled = static_cast<const CancelCheck*>(check);
    return *isCancelled && (*isCancelled)();
}

} // namespace

QString TextExtractor::noPdfTextMessage()
{
    return QStringLiteral("No embedded text found in this PDF.");
}

QString TextExtractor::noTextMessage()
{
    return QStringLiteral("No text found.");
}

QFuture<QString> TextExtractor::read(const QString& path)
{
    limitOpenMpThreads();
    return QtConcurrent::run(QThreadPool::globalInstance(), [path](QPromise<QString>& promise) {
        const CancelCheck isCancelled = [&promise] { return promise.isCanceled(); };
        try {
            promise.addResult(readNow(path, isCancelled));
        } catch (const Cancelled&) {
            promise.future().cancel();
        }
    });
}

QString TextExtractor::readNow(const QString& path, const CancelCheck& isCancelled)
{
    if (extensionOf(QFileInfo(path).fileName()) == u"pdf") return readPdf(path, isCancelled);
    return recognise(path, isCancelled);
}

QString TextExtractor::readPdf(const QString& path, const CancelCheck& isCancelled)
{
    const std::unique_ptr<Poppler::Document> document =
        Poppler::Document::load(OpenablePath(path).name());
    if (!document || document->isLocked()) return noPdfTextMessage();
    QStringList pages;
    for (int number = 0; number < document->numPages(); ++number) {
        throwIfCancelled(isCancelled);
        const std::unique_ptr<Poppler::Page> page = document->page(number);
        if (page) pages << page->text(QRectF());
    }
    return pages.join(u'\n');
}

QString TextExtractor::recognise(const QString& path, const CancelCheck& isCancelled)
{
    limitOpenMpThreads();
    QString error;
    const QImage picture = readScaledImage(path, maxRecognitionEdge, &error);
    if (picture.isNull()) throw FileError::withDescription(path, error);
    throwIfCancelled(isCancelled);
    const QImage gray = picture.convertToFormat(QImage::Format_Grayscale8);

    tesseract::TessBaseAPI api;
    if (api.Init(nullptr, "eng") != 0)
        throw FileError::withDescription(path, QStringLiteral("Text recognition is unavailable."));
    api.SetVariable("debug_file", "/dev/null");
    api.SetImage(gray.constBits(), gray.width(), gray.height(), 1, int(gray.bytesPerLine()));
    api.SetSourceResolution(300);
    tesseract::ETEXT_DESC monitor;
    monitor.cancel = cancelRecognition;
    monitor.cancel_this = const_cast<CancelCheck*>(&isCancelled);
    const int failed = api.Recognize(&monitor);
    throwIfCancelled(isCancelled);
    if (failed != 0)
        throw FileError::withDescription(path, QStringLiteral("Text recognition failed."));

    QStringList lines;
    const std::unique_ptr<tesseract::ResultIterator> line(api.GetIterator());
    if (line && !line->Empty(tesseract::RIL_TEXTLINE)) {
        do {
            const std::unique_ptr<char[]> text(line->GetUTF8Text(tesseract::RIL_TEXTLINE));
            const QString trimmed = text ? QString::fromUtf8(text.get()).trimmed() : QString();
            if (!trimmed.isEmpty()) lines << trimmed;
        } while (line->Next(tesseract::RIL_TEXTLINE));
    }
    // An empty sheet would look like a failure; say plainly that nothing was found.
    if (lines.isEmpty()) return noTextMessage();
    return lines.join(u'\n');
}
