#include "log_categories.h"

Q_LOGGING_CATEGORY(lcTransfers, "quorvane.transfers", QtWarningMsg)
