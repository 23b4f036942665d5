#include "text_matcher.h"

#include <QStringView>

TextMatcher::TextMatcher(const QString& needle)
    : needle_(needle), foldedNeedle_(folded(needle)),
      asciiNeedle_(QtPrivate::isAscii(QStringView(needle)))
{
}

QString TextMatcher::folded(const QString& text)
{
    // Upper-casing applies the one-to-many mappings (ß → SS, ﬁ → FI) that
    // simple folding lacks (lowering first so ẞ takes that path too); folding
    // afterwards brings every case together.
    return text.normalized(QString::NormalizationForm_D)
        .toLower()
        .toUpper()
        .toCaseFolded()
        .normalized(QString::NormalizationForm_C);
}

bool TextMatcher::foundIn(const QString& haystack) const
{
    // ASCII on both sides folds one unit to one unit, which Qt's own search does.
    if (asciiNeedle_ && QtPrivate::isAscii(QStringView(haystack)))
        return haystack.contains(needle_, Qt::CaseInsensitive);
    return folded(haystack).contains(foldedNeedle_);
}
