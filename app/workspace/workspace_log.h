#pragma once

#include <QLoggingCategory>

// Turned on with QT_LOGGING_RULES="quorvane.workspace.debug=true": what each
// section listed and scanned, and how long it took, for a report.
Q_DECLARE_LOGGING_CATEGORY(lcWorkspace)
