#pragma once

#include "cancellation.h"

#include <QImage>
#include <QString>

// One frame of the video at `path`, taken near a tenth of its duration, fitting
// an edge-by-edge square and turned as the video's display matrix says. Null
// when the file has no decodable video frame or the job was cancelled.
QImage readVideoFrame(const QString& path, int edge, const CancelCheck& isCancelled);
