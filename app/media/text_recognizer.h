#pragma once

#include "cancellation.h"

#include <QImage>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

namespace tesseract {
class TessBaseAPI;
}

// Recognition of printed English text with Tesseract, one picture at a time,
// for as many pictures as needed (a scanned PDF's pages). One thread at a time.
class TextRecognizer {
public:
    // Percent done of the picture being read, 0 to 100.
    using Progress = std::function<void(int percent)>;

    TextRecognizer();
    ~TextRecognizer();
    TextRecognizer(const TextRecognizer&) = delete;
    TextRecognizer& operator=(const TextRecognizer&) = delete;

    // False when Tesseract or its English data is missing.
    bool ready() const { return ready_; }

    // The lines found in `picture`, top to bottom, trimmed; empty when there is
    // no text, none when recognition failed. Throws Cancelled when asked to stop.
    std::optional<QStringList> lines(const QImage& picture, const CancelCheck& isCancelled,
                                     const Progress& progress = {});

private:
    std::unique_ptr<tesseract::TessBaseAPI> api_;
    bool ready_ = false;
};
