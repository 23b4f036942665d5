#pragma once

#include <QElapsedTimer>
#include <QString>

// The letters typed to find an item by name: they add up while the user keeps
// typing and start over after a pause.
class TypeAhead {
public:
    static constexpr qint64 pauseMs = 1000;

    // The text to look for after `typed` (empty for keys that type nothing).
    QString add(const QString& typed);
    bool isTyping() const;
    void reset();

private:
    QString text_;
    QElapsedTimer since_;
};
