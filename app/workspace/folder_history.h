#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// The places a section has shown, for Back and Forward. A place is a folder
// path; the empty string stands for the whole computer's index.
class FolderHistory {
public:
    // The user went from `from` somewhere new: `from` is the way back, and the
    // way forward is forgotten.
    void visit(const QString& from);
    // Where Back leads from `current` (which becomes the way forward).
    std::optional<QString> back(const QString& current);
    // Where Forward leads from `current` (which becomes the way back).
    std::optional<QString> forward(const QString& current);

    bool canGoBack() const { return !back_.isEmpty(); }
    bool canGoForward() const { return !forward_.isEmpty(); }
    // The place Back leads to, if any.
    std::optional<QString> previous() const;

private:
    static constexpr qsizetype limit = 100;

    QStringList back_;
    QStringList forward_;
};
