#pragma once

#include <QElapsedTimer>
#include <QString>

// A one-line status on stderr that rewrites itself, shown only on a terminal
// and at most a few times a second.
class ProgressLine {
public:
    ProgressLine();
    ~ProgressLine() { clear(); }
    ProgressLine(const ProgressLine&) = delete;
    ProgressLine& operator=(const ProgressLine&) = delete;

    bool enabled() const { return enabled_; }
    void show(const QString& text, bool force = false);
    void clear();

private:
    bool enabled_;
    bool shown_ = false;
    QElapsedTimer sinceLast_;
};
