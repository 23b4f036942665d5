#pragma once

#include <QString>

// Text read out of a file, as the text sheet shows it; a sheet is keyed by its text.
struct TextResult {
    QString text;

    const QString& id() const { return text; }
    friend bool operator==(const TextResult&, const TextResult&) = default;
};
