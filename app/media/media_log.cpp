#include "media/media_log.h"

Q_LOGGING_CATEGORY(lcThumbnails, "quorvane.thumbnails", QtWarningMsg)
