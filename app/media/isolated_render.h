#pragma once

#include "cancellation.h"
#include "media/render_request.h"

#include <QImage>
#include <QStringList>
#include <chrono>
#include <optional>

// How much a rendering of an untrusted file may take.
struct RenderLimits {
    std::chrono::milliseconds time{10000};
    // Address space the rendering may add to what the renderer has once started.
    qint64 memory = qint64(768) << 20;
};

// Carries out `request` in a renderer process of its own (see RenderHost), so
// that a hostile file (a compression bomb in a PDF, a broken video) can neither
// hang the caller nor take its memory: the renderer's address space is limited,
// and it is killed when it overruns the time limit or `isCancelled` turns true.
// The caller waits at most that long. Returns the renderer's picture; null when
// it failed, overran or was stopped.
QImage renderIsolated(const RenderRequest& request, const RenderLimits& limits,
                      const CancelCheck& isCancelled);

// The same for a request whose answer is text, one entry a page; none when the
// renderer overran, was stopped or died.
std::optional<QStringList> readTextIsolated(const RenderRequest& request,
                                            const RenderLimits& limits,
                                            const CancelCheck& isCancelled);
