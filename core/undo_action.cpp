#include "undo_action.h"

#include "file_error.h"
#include "file_operations.h"
#include "native_path.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString quotedName(const QString& path)
{
    return QCoreApplication::translate("UndoAction", "\u201C%1\u201D")
        .arg(QFileInfo(path).fileName());
}

bool exists(const QString& path)
{
    struct stat st;
    return ::lstat(nativePath(path).constData(), &st) == 0;
}

void requireFree(const QString& path)
{
    if (exists(path)) throw FileError(FileError::Code::FileWriteFileExists, path);
}

void requireThere(const QString& path)
{
    if (!exists(path)) throw FileError::fromErrno(ENOENT, path);
}

void requireTrash(const QString& path)
{
    if (!TrashCan::canTrash(path))
        throw FileError::withMessage(
            FileError::Code::FileWriteUnknown, path,
            QCoreApplication::translate("UndoAction",
                                        "%1 can\u2019t go to the trash on its disk, so it stays.")
                .arg(quotedName(path)));
}

void removeEmptyFolder(const QString& path)
{
    struct stat st;
    if (::lstat(nativePath(path).constData(), &st) != 0) throw FileError::fromErrno(errno, path);
    if (!S_ISDIR(st.st_mode) || ::rmdir(nativePath(path).constData()) != 0)
        throw FileError::withMessage(
            FileError::Code::FileWriteUnknown, path,
            QCoreApplication::translate("UndoAction",
                                        "%1 isn\u2019t an empty folder any more, so it stays.")
                .arg(quotedName(path)));
}

void makeFolder(const QString& path)
{
    if (::mkdir(nativePath(path).constData(), 0777) != 0 && errno != EEXIST)
        throw FileError::fromErrno(errno, path);
}

} // namespace

UndoAction::UndoAction(Kind kind, QList<Step> steps, QStringList removedFolders)
    : kind_(kind), steps_(std::move(steps)), removedFolders_(std::move(removedFolders))
{
}

UndoAction UndoAction::renamed(const QString& from, const QString& to)
{
    Step step;
    step.item.from = from;
    step.item.to = to;
    return UndoAction(Kind::Rename, {step});
}

UndoAction UndoAction::createdFolder(const QString& path)
{
    Step step;
    step.item.to = path;
    return UndoAction(Kind::NewFolder, {step});
}

UndoAction UndoAction::copied(const TransferOutcome& outcome)
{
    QList<Step> steps;
    for (const PlacedItem& item : outcome.placed)
        steps.append({item, {}});
    return UndoAction(Kind::Copy, steps);
}

UndoAction UndoAction::moved(const TransferOutcome& outcome)
{
    QList<Step> steps;
    for (const PlacedItem& item : outcome.placed)
        steps.append({item, {}});
    return UndoAction(Kind::Move, steps, outcome.removedFolders);
}

UndoAction UndoAction::trashed(const QList<TrashedItem>& items)
{
    QList<Step> steps;
    for (const TrashedItem& item : items) {
        Step step;
        step.item.from = item.original;
        step.item.sourceTrashed = item;
        steps.append(step);
    }
    return UndoAction(Kind::Trash, steps);
}

QString UndoAction::title() const
{
    const qsizetype count = steps_.size();
    const QString one =
        count == 1 ? quotedName(kind_ == Kind::NewFolder ? steps_[0].item.to : steps_[0].item.from)
                   : QString();
    switch (kind_) {
    case Kind::Rename:
        return QCoreApplication::translate("UndoAction", "Rename %1").arg(one);
    case Kind::NewFolder:
        return QCoreApplication::translate("UndoAction", "New Folder %1").arg(one);
    case Kind::Copy:
        return count == 1 ? QCoreApplication::translate("UndoAction", "Copy %1").arg(one)
                          : QCoreApplication::translate("UndoAction", "Copy %n Items", nullptr,
                                                        int(count));
    case Kind::Move:
        return count == 1 ? QCoreApplication::translate("UndoAction", "Move %1").arg(one)
                          : QCoreApplication::translate("UndoAction", "Move %n Items", nullptr,
                                                        int(count));
    case Kind::Trash:
        return count == 1 ? QCoreApplication::translate("UndoAction", "Move to Trash %1").arg(one)
                          : QCoreApplication::translate("UndoAction", "Move %n Items to Trash",
                                                        nullptr, int(count));
    }
    return {};
}

void UndoAction::checkUndo() const
{
    for (const Step& step : steps_) {
        const PlacedItem& item = step.item;
        switch (kind_) {
        case Kind::Rename:
        case Kind::Move:
            requireThere(item.to);
            requireFree(item.from);
            if (item.sourceTrashed) requireTrash(item.to);
            break;
        case Kind::NewFolder:
            requireThere(item.to);
            break;
        case Kind::Copy:
            requireThere(item.to);
            requireTrash(item.to);
            break;
        case Kind::Trash:
            requireFree(item.from);
            break;
        }
    }
}

void UndoAction::checkRedo() const
{
    for (const Step& step : steps_) {
        const PlacedItem& item = step.item;
        switch (kind_) {
        case Kind::Rename:
        case Kind::Move:
            requireThere(item.from);
            if (!item.replaced) requireFree(item.to);
            break;
        case Kind::NewFolder:
        case Kind::Copy:
            if (!item.replaced) requireFree(item.to);
            break;
        case Kind::Trash:
            requireThere(item.from);
            break;
        }
    }
}

void UndoAction::undo()
{
    checkUndo();
    // Folders a merging move emptied and removed, outer ones first.
    for (auto folder = removedFolders_.crbegin(); folder != removedFolders_.crend(); ++folder)
        makeFolder(*folder);
    for (auto step = steps_.rbegin(); step != steps_.rend(); ++step)
        undoStep(*step);
}

void UndoAction::redo()
{
    checkRedo();
    for (Step& step : steps_)
        redoStep(step);
    for (const QString& folder : removedFolders_)
        ::rmdir(nativePath(folder).constData()); // only while empty
}

void UndoAction::undoStep(Step& step)
{
    PlacedItem& item = step.item;
    switch (kind_) {
    case Kind::Rename:
        FileOperations::moveNoReplace(item.to, item.from);
        return;
    case Kind::NewFolder:
        removeEmptyFolder(item.to);
        return;
    case Kind::Trash:
        TrashCan::restore(*item.sourceTrashed);
        return;
    case Kind::Copy:
        step.undone = TrashCan::trashItem(item.to);
        break;
    case Kind::Move:
        if (item.sourceTrashed) {
            // Across file systems the source went to the trash: the copy goes
            // there instead and the source comes back.
            step.undone = TrashCan::trashItem(item.to);
            TrashCan::restore(*item.sourceTrashed);
        } else {
            FileOperations::moveNoReplace(item.to, item.from);
        }
        break;
    }
    if (item.replaced) TrashCan::restore(*item.replaced);
}

void UndoAction::redoStep(Step& step)
{
    PlacedItem& item = step.item;
    switch (kind_) {
    case Kind::Rename:
        FileOperations::moveNoReplace(item.from, item.to);
        return;
    case Kind::NewFolder:
        makeFolder(item.to);
        return;
    case Kind::Trash:
        item.sourceTrashed = TrashCan::trashItem(item.from);
        return;
    case Kind::Copy:
    case Kind::Move:
        break;
    }
    if (item.replaced) item.replaced = TrashCan::trashItem(item.replaced->original);
    if (kind_ == Kind::Copy) {
        TrashCan::restore(*step.undone);
    } else if (item.sourceTrashed) {
        TrashCan::restore(*step.undone);
        item.sourceTrashed = TrashCan::trashItem(item.from);
    } else {
        FileOperations::moveNoReplace(item.from, item.to);
    }
    step.undone.reset();
}
