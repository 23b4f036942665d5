#pragma once

#include "workspace/file_url_mime.h"
#include "workspace/workspace_platform.h"

class QWidget;

// Real dialogs over `parent`, the desktop clipboard (readable by other file
// managers) and the keyboard state.
WorkspacePlatform desktopPlatform(QWidget* parent);
