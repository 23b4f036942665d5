#include "file_operations.h"
#include "scratch_mount.h"
#include "temporary_trash.h"
#include "test_support.h"
#include "transfer_service.h"
#include "undo_journal.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

TransferOutcome transfer(TransferKind kind, const QString& source, const QString& folder,
                         std::optional<ConflictAnswer> answer = std::nullopt)
{
    TransferEngine::Handlers handlers;
    if (answer)
        handlers.conflicts = std::make_shared<ConflictResolver>(ConflictResolver::always(*answer));
    return TransferService::perform({source, folder, kind}, handlers);
}

FileError::Code refusal(const std::function<void()>& step)
{
    try {
        step();
    } catch (const FileError& error) {
        return error.code();
    }
    ADD_FAILURE() << "the step was not refused";
    return FileError::Code::System;
}

} // namespace

TEST(UndoJournal, RenameGoesBackUnlessItsOldNameWasTaken)
{
    TempTree tree;
    const QString old = tree.file("a.txt", "a");
    FileOperations::rename(old, "b.txt");
    UndoJournal journal;
    int changes = 0;
    QObject::connect(&journal, &UndoJournal::changed, [&] { ++changes; });
    journal.record(UndoAction::renamed(old, tree.path("b.txt")));
    EXPECT_EQ(journal.undoTitle(), QStringLiteral("Undo Rename \u201Ca.txt\u201D"));
    EXPECT_FALSE(journal.canRedo());

    tree.file("a.txt", "someone else");
    EXPECT_EQ(refusal([&] { journal.undo(); }), FileError::Code::FileWriteFileExists);
    EXPECT_EQ(contentsOf(old), "someone else");
    EXPECT_EQ(contentsOf(tree.path("b.txt")), "a");
    EXPECT_TRUE(journal.canUndo()) << "a refused undo stays to be tried again";

    QFile::remove(old);
    journal.undo();
    EXPECT_EQ(entriesOf(tree.root()), QStringList{"a.txt"});
    EXPECT_EQ(journal.redoTitle(), QStringLiteral("Redo Rename \u201Ca.txt\u201D"));
    journal.redo();
    EXPECT_EQ(entriesOf(tree.root()), QStringList{"b.txt"});
    EXPECT_EQ(changes, 3);

    // A new action ends what could be redone.
    journal.undo();
    journal.record(UndoAction::createdFolder(tree.folder("new")));
    EXPECT_FALSE(journal.canRedo());
    EXPECT_EQ(journal.undoTitle(), QStringLiteral("Undo New Folder \u201Cnew\u201D"));
    journal.record(UndoAction::copied({}));
    EXPECT_EQ(journal.undoTitle(), QStringLiteral("Undo New Folder \u201Cnew\u201D"));
}

TEST(UndoJournal, ANewFolderGoesOnlyWhileEmpty)
{
    TempTree tree;
    FileOperations::createFolder(tree.root(), "Projects");
    UndoAction action = UndoAction::createdFolder(tree.path("Projects"));
    tree.file("Projects/plan.txt", "plan");
    EXPECT_EQ(refusal([&] { action.undo(); }), FileError::Code::FileWriteUnknown);
    EXPECT_EQ(contentsOf(tree.path("Projects/plan.txt")), "plan");

    QFile::remove(tree.path("Projects/plan.txt"));
    action.undo();
    EXPECT_TRUE(entriesOf(tree.root()).isEmpty());
    action.redo();
    EXPECT_EQ(entriesOf(tree.root()), QStringList{"Projects"});
}

TEST(UndoJournal, CopiesGoToTheTrashAndReplacedItemsComeBack)
{
    temporaryTrash();
    TempTree tree;
    const QString source = tree.file("src/report.pdf", "new");
    const QString dest = tree.folder("dest");
    tree.file("dest/report.pdf", "old");
    UndoAction action =
        UndoAction::copied(transfer(TransferKind::Copy, source, dest, ConflictAnswer::Replace));
    EXPECT_EQ(action.title(), QStringLiteral("Copy \u201Creport.pdf\u201D"));
    EXPECT_EQ(contentsOf(dest + "/report.pdf"), "new");

    action.undo();
    EXPECT_EQ(contentsOf(dest + "/report.pdf"), "old");
    EXPECT_EQ(contentsOf(source), "new");
    const QStringList trashed = trashedNames().filter("report");
    ASSERT_EQ(trashed.size(), 1);
    EXPECT_EQ(contentsOf(temporaryTrash() + "/files/" + trashed[0]), "new")
        << "the copy is in the trash, not deleted";
    action.redo();
    EXPECT_EQ(contentsOf(dest + "/report.pdf"), "new");

    // Gone meanwhile: nothing to put in the trash, so the undo is refused.
    QFile::rename(dest + "/report.pdf", dest + "/renamed.pdf");
    EXPECT_EQ(refusal([&] { action.undo(); }), FileError::Code::System);
    EXPECT_EQ(contentsOf(dest + "/renamed.pdf"), "new");
}

TEST(UndoJournal, AMoveGoesBackUnlessItsPlaceWasTaken)
{
    temporaryTrash();
    TempTree tree;
    tree.file("src/album/a.jpg", "a");
    tree.file("src/album/b.jpg", "b");
    tree.file("dest/album/b.jpg", "old b");
    auto answers = [](const NameConflict& c) {
        return ConflictChoice{c.canMerge() ? ConflictAnswer::Merge : ConflictAnswer::KeepBoth,
                              true};
    };
    TransferEngine::Handlers handlers;
    handlers.conflicts = std::make_shared<ConflictResolver>(answers);
    UndoAction action = UndoAction::moved(TransferService::perform(
        {tree.path("src/album"), tree.path("dest"), TransferKind::Move}, handlers));
    EXPECT_EQ(action.title(), QStringLiteral("Move 2 Items"));
    EXPECT_FALSE(QFile::exists(tree.path("src/album")));

    action.undo();
    EXPECT_EQ(entriesOf(tree.path("src/album")), (QStringList{"a.jpg", "b.jpg"}));
    EXPECT_EQ(entriesOf(tree.path("dest/album")), QStringList{"b.jpg"});
    action.redo();
    EXPECT_EQ(entriesOf(tree.path("dest/album")), (QStringList{"a.jpg", "b (2).jpg", "b.jpg"}));

    tree.file("src/album/a.jpg", "new a");
    EXPECT_EQ(refusal([&] { action.undo(); }), FileError::Code::FileWriteFileExists);
    EXPECT_EQ(entriesOf(tree.path("dest/album")), (QStringList{"a.jpg", "b (2).jpg", "b.jpg"}));
    EXPECT_EQ(contentsOf(tree.path("src/album/a.jpg")), "new a");
}

TEST(UndoJournal, TrashedItemsComeBackByTheirTrashInfoPath)
{
    temporaryTrash();
    TempTree tree;
    // Path= is URL-encoded: spaces, percent signs and non-ASCII names must round-trip.
    const QString odd = tree.file(QStringLiteral("a b%25 \u00FC.txt"), "odd");
    const QString plain = tree.file("plain.txt", "plain");
    UndoAction action = UndoAction::trashed({TrashCan::trashItem(odd), TrashCan::trashItem(plain)});
    EXPECT_EQ(action.title(), QStringLiteral("Move 2 Items to Trash"));
    EXPECT_TRUE(entriesOf(tree.root()).isEmpty());

    tree.file("plain.txt", "another");
    EXPECT_EQ(refusal([&] { action.undo(); }), FileError::Code::FileWriteFileExists);
    EXPECT_FALSE(QFile::exists(odd)) << "refused before anything came back";

    QFile::remove(plain);
    action.undo();
    EXPECT_EQ(contentsOf(odd), "odd");
    EXPECT_EQ(contentsOf(plain), "plain");
    action.redo();
    EXPECT_TRUE(entriesOf(tree.root()).isEmpty());
    action.undo();
    EXPECT_EQ(entriesOf(tree.root()).size(), 2);
}

TEST(UndoJournal, AMoveAcrossFileSystemsComesBackFromTheTrash)
{
    temporaryTrash();
    TempTree tree;
    ScratchMount mount(tree.folder("other"), "4m");
    if (!mount.mounted()) GTEST_SKIP() << "mounting a scratch file system is not permitted here";
    const QString source = tree.file("src/notes.txt", "notes");
    UndoAction action = UndoAction::moved(transfer(TransferKind::Move, source, tree.path("other")));
    EXPECT_FALSE(QFile::exists(source));

    // The copy can only leave by the trash, and the scratch disk has none:
    // the undo is refused and both stay as they are.
    EXPECT_EQ(refusal([&] { action.undo(); }), FileError::Code::FileWriteUnknown);
    EXPECT_EQ(contentsOf(tree.path("other/notes.txt")), "notes");
    EXPECT_FALSE(QFile::exists(source));
}

TEST(UndoJournal, ATrashThatStoppedHalfwayCanStillUndoWhatWent)
{
    temporaryTrash();
    TempTree tree;
    const QString first = tree.file("first.txt", "1");
    const QString third = tree.file("third.txt", "3");
    QList<TrashedItem> trashed;
    EXPECT_THROW(FileOperations::trash({first, tree.path("missing.txt"), third}, &trashed),
                 FileError);
    ASSERT_EQ(trashed.size(), 1);
    UndoJournal journal;
    journal.record(UndoAction::trashed(trashed));
    EXPECT_EQ(journal.undoTitle(), QStringLiteral("Undo Move to Trash \u201Cfirst.txt\u201D"));
    journal.undo();
    EXPECT_EQ(entriesOf(tree.root()), (QStringList{"first.txt", "third.txt"}));
}

TEST(UndoJournal, AMoveFromADiskWithItsOwnTrashGoesBackAndForth)
{
    temporaryTrash();
    TempTree tree;
    DiskImageMount disk(tree.path("disk.img"), tree.folder("disk"));
    if (!disk.mounted()) GTEST_SKIP() << "mounting a disk image is not permitted here";
    const QString source = tree.file("disk/photos/a.jpg", "a");
    const QString dest = tree.folder("home");
    UndoAction action =
        UndoAction::moved(transfer(TransferKind::Move, tree.path("disk/photos"), dest));
    EXPECT_EQ(action.title(), QStringLiteral("Move \u201Cphotos\u201D"));
    EXPECT_FALSE(QFile::exists(source));
    EXPECT_EQ(contentsOf(dest + "/photos/a.jpg"), "a");
    const QString diskTrash = tree.path(QStringLiteral("disk/.Trash-%1/files").arg(::getuid()));
    // The disk's own trash took the original, with a Path= relative to the disk's top.
    EXPECT_EQ(entriesOf(diskTrash), QStringList{"photos"});

    action.undo();
    EXPECT_EQ(contentsOf(source), "a");
    EXPECT_FALSE(QFile::exists(dest + "/photos")) << "the copy went to the trash";
    EXPECT_TRUE(entriesOf(diskTrash).isEmpty());
    action.redo();
    EXPECT_FALSE(QFile::exists(source));
    EXPECT_EQ(contentsOf(dest + "/photos/a.jpg"), "a");

    // The original's place taken meanwhile: refused, and nothing moves.
    tree.file("disk/photos/other.jpg", "o");
    EXPECT_EQ(refusal([&] { action.undo(); }), FileError::Code::FileWriteFileExists);
    EXPECT_EQ(contentsOf(dest + "/photos/a.jpg"), "a");
    EXPECT_EQ(entriesOf(tree.path("disk/photos")), QStringList{"other.jpg"});
}
