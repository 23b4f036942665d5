#pragma once

#include <QLoggingCategory>

// Turned on with QT_LOGGING_RULES, e.g. "quorvane.transfers.debug=true", so a
// user can report what a copy did.
Q_DECLARE_LOGGING_CATEGORY(lcTransfers)
