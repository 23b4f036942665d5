#include "workspace/workspace_log.h"

Q_LOGGING_CATEGORY(lcWorkspace, "quorvane.workspace", QtWarningMsg)
