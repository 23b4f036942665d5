#include "progress_line.h"

#include <cstdio>
#include <unistd.h>

ProgressLine::ProgressLine() : enabled_(::isatty(STDERR_FILENO) == 1) {}

void ProgressLine::show(const QString& text, bool force)
{
    if (!enabled_) return;
    if (!force && sinceLast_.isValid() && sinceLast_.elapsed() < 100) return;
    sinceLast_.start();
    std::fprintf(stderr, "\r\033[K%s", text.toUtf8().constData());
    std::fflush(stderr);
    shown_ = true;
}

void ProgressLine::clear()
{
    if (!shown_) return;
    std::fprintf(stderr, "\r\033[K");
    std::fflush(stderr);
    shown_ = false;
}
