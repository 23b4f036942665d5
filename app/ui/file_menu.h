#pragma once

#include "file_entry.h"

class QMenu;
class WorkspaceModel;

// The context menu of one file: Open, Preview in Quorvane, Show in File
// Manager, Rename…, Copy, Move to Trash…. Items that act on "this file" first
// make it the whole selection.
void fillFileMenu(QMenu& menu, WorkspaceModel& model, const FileEntry& file);

// Shows the file selected in the desktop's file manager (FileManager1), or
// opens its parent folder when no file manager answers.
void revealInFileManager(const QString& path);
