#include "media/text_recognizer.h"

#include <mutex>
#include <tesseract/baseapi.h>
#include <tesseract/ocrclass.h>
#include <tesseract/resultiterator.h>

namespace {

// Tesseract's OpenMP build spins on every core while it waits, which makes it
// several times slower on a busy machine. Must happen before it first starts.
void limitOpenMpThreads()
{
    static std::once_flag once;
    std::call_once(once, [] {
        if (qEnvironmentVariableIsEmpty("OMP_THREAD_LIMIT")) qputenv("OMP_THREAD_LIMIT", "1");
    });
}

// What the monitor's callbacks reach through its one user pointer.
struct Watch {
    const CancelCheck& isCancelled;
    const TextRecognizer::Progress& progress;
    int reported = -1;
};

bool cancelRecognition(void* watch, int)
{
    const CancelCheck& isCancelled = static_cast<Watch*>(watch)->isCancelled;
    return isCancelled && isCancelled();
}

bool reportProgress(tesseract::ETEXT_DESC* monitor, int, int, int, int)
{
    auto* watch = static_cast<Watch*>(monitor->cancel_this);
    if (watch->progress && monitor->progress != watch->reported) {
        watch->reported = monitor->progress;
        watch->progress(std::clamp(int(monitor->progress), 0, 100));
    }
    return true;
}

} // namespace

TextRecognizer::TextRecognizer() : api_(std::make_unique<tesseract::TessBaseAPI>())
{
    limitOpenMpThreads();
    ready_ = api_->Init(nullptr, "eng") == 0;
    if (ready_) api_->SetVariable("debug_file", "/dev/null");
}

TextRecognizer::~TextRecognizer() = default;

std::optional<QStringList> TextRecognizer::lines(const QImage& picture,
                                                 const CancelCheck& isCancelled,
                                                 const Progress& progress)
{
    if (!ready_ || picture.isNull()) return std::nullopt;
    throwIfCancelled(isCancelled);
    const QImage gray = picture.convertToFormat(QImage::Format_Grayscale8);
    api_->SetImage(gray.constBits(), gray.width(), gray.height(), 1, int(gray.bytesPerLine()));
    api_->SetSourceResolution(300);
    Watch watch{isCancelled, progress};
    tesseract::ETEXT_DESC monitor;
    monitor.cancel = cancelRecognition;
    monitor.progress_callback2 = reportProgress;
    monitor.cancel_this = &watch;
    const int failed = api_->Recognize(&monitor);
    throwIfCancelled(isCancelled);
    if (failed != 0) return std::nullopt;

    QStringList found;
    const std::unique_ptr<tesseract::ResultIterator> line(api_->GetIterator());
    if (line && !line->Empty(tesseract::RIL_TEXTLINE)) {
        do {
            const std::unique_ptr<char[]> text(line->GetUTF8Text(tesseract::RIL_TEXTLINE));
            const QString trimmed = text ? QString::fromUtf8(text.get()).trimmed() : QString();
            if (!trimmed.isEmpty()) found << trimmed;
        } while (line->Next(tesseract::RIL_TEXTLINE));
    }
    api_->Clear();
    return found;
}
