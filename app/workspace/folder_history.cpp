#include "workspace/folder_history.h"

void FolderHistory::visit(const QString& from)
{
    back_.append(from);
    if (back_.size() > limit) back_.removeFirst();
    forward_.clear();
}

std::optional<QString> FolderHistory::back(const QString& current)
{
    if (back_.isEmpty()) return std::nullopt;
    forward_.append(current);
    return back_.takeLast();
}

std::optional<QString> FolderHistory::forward(const QString& current)
{
    if (forward_.isEmpty()) return std::nullopt;
    back_.append(current);
    return forward_.takeLast();
}

std::optional<QString> FolderHistory::previous() const
{
    if (back_.isEmpty()) return std::nullopt;
    return back_.last();
}
