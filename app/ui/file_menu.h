#pragma once

#include "file_entry.h"

class QMenu;
class WorkspaceModel;

// The context menu of one file: Open, Preview in Quorvane, Show in File
// Manager, Rename…, Cut, Copy, Move to Trash… (unless `offerTrash` is false). Items
// that act on "this file" first make it the whole selection.
void fillFileMenu(QMenu& menu, WorkspaceModel& model, const FileEntry& file,
                  bool offerTrash = true);

// The applications of the desktop that open `file`, the default one first and
// in bold; choosing one starts it on the file. A failure to start goes to the
// model's error.
void fillOpenWithMenu(QMenu& menu, WorkspaceModel& model, const FileEntry& file);

// Shows the file selected in the desktop's file manager (FileManager1), or
// opens its parent folder when no file manager answers.
void revealInFileManager(const QString& path);
