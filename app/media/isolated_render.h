#pragma once

#include "cancellation.h"

#include <QByteArray>
#include <QImage>
#include <chrono>
#include <functional>
#include <optional>

// How much a rendering of an untrusted file may take.
struct RenderLimits {
    std::chrono::milliseconds time{10000};
    // Address space the rendering may add to what the process already has.
    qint64 memory = qint64(768) << 20;
};

// Runs `render` in a child process forked for it, so that a hostile file (a
// compression bomb in a PDF, a broken video) can neither hang the caller nor
// take its memory: the child's address space is limited, and it is killed
// when it overruns the time limit or `isCancelled` turns true. The caller
// waits at most that long. Returns the child's picture; null when it failed,
// overran or was stopped. `render` runs in the child only and may not rely on
// other threads of this process.
QImage renderIsolated(const std::function<QImage()>& render, const RenderLimits& limits,
                      const CancelCheck& isCancelled);

// The same for any work whose answer is bytes; none when it overran, was
// stopped or its child died.
std::optional<QByteArray> runIsolated(const std::function<QByteArray()>& work,
                                      const RenderLimits& limits, const CancelCheck& isCancelled);
