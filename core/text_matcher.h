#pragma once

#include <QString>

// Case-insensitive containment of one search text in many names. Full case
// folding ("straße" holds "STRASSE") and canonical equivalence are honoured;
// the folding is only paid for names that are not plain ASCII.
class TextMatcher {
public:
    explicit TextMatcher(const QString& needle);

    bool foundIn(const QString& haystack) const;

    // The form both sides are compared in.
    static QString folded(const QString& text);

private:
    QString needle_;
    QString foldedNeedle_;
    bool asciiNeedle_;
};
