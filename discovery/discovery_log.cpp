#include "discovery_log.h"

Q_LOGGING_CATEGORY(lcDiscovery, "quorvane.discovery", QtWarningMsg)
