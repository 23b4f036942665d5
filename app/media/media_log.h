#pragma once

#include <QLoggingCategory>

// "quorvane.thumbnails.debug=true" in QT_LOGGING_RULES names each file whose
// thumbnail could not be drawn.
Q_DECLARE_LOGGING_CATEGORY(lcThumbnails)
