#pragma once

#include <QLoggingCategory>

// "quorvane.discovery.debug=true" in QT_LOGGING_RULES shows what the file index answered.
Q_DECLARE_LOGGING_CATEGORY(lcDiscovery)
