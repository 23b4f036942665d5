#include "conflict_resolver.h"
#include "free_name.h"
#include "temporary_trash.h"
#include "test_support.h"
#include "transfer_service.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

constexpr qint64 kMiB = 1 << 20;

// A handler that gives the answers in order and keeps what it was asked.
struct Answers {
    QList<ConflictChoice> choices;
    QList<NameConflict> asked;

    ConflictHandler handler()
    {
        return [this](const NameConflict& conflict) {
            asked.append(conflict);
            return choices.isEmpty() ? ConflictChoice{ConflictAnswer::Skip, false}
                                     : choices.takeFirst();
        };
    }
};

TransferOutcome copyAnswering(const QString& source, const QString& folder,
                              ConflictResolver& resolver,
                              const TransferEngine::ProgressHandler& progress = {})
{
    return TransferService::copyItem(source, folder, {progress, {}, nullptr}, resolver);
}

} // namespace

TEST(FreeName, NumberGoesBeforeTheExtensionAndCountsOnFromATakenNumber)
{
    EXPECT_EQ(FreeName::numbered("report.pdf", 2, false), "report (2).pdf");
    EXPECT_EQ(FreeName::numbered("report (2).pdf", 3, false), "report (3).pdf");
    EXPECT_EQ(FreeName::numbered("photos.2024", 2, true), "photos.2024 (2)");
    EXPECT_EQ(FreeName::numbered(".bashrc", 2, false), ".bashrc (2)");
    EXPECT_EQ(FreeName::numbered("backup.tar.gz", 2, false), "backup (2).tar.gz");
    EXPECT_EQ(FreeName::numbered("notes", 2, false), "notes (2)");
    EXPECT_EQ(FreeName::numbered("my file.long extension", 2, false), "my file.long extension (2)");

    TempTree tree;
    tree.file("report.pdf");
    EXPECT_EQ(FreeName::next(tree.root(), "report.pdf", false), "report (2).pdf");
    tree.file("report (2).pdf");
    tree.file("report (4).pdf");
    EXPECT_EQ(FreeName::next(tree.root(), "report.pdf", false), "report (3).pdf");
    EXPECT_EQ(FreeName::next(tree.root(), "report (2).pdf", false), "report (3).pdf");
    EXPECT_EQ(FreeName::next(tree.root(), "report (4).pdf", false), "report (5).pdf");
}

TEST(ConflictResolver, RefusesAloneAndRemembersApplyToAllPerKindOfPair)
{
    const NameConflict files{"/a/x.txt", "/b/x.txt", false, false};
    const NameConflict folders{"/a/album", "/b/album", true, true};
    EXPECT_THROW(ConflictResolver().resolve(files), FileError);

    Answers answers;
    answers.choices = {{ConflictAnswer::KeepBoth, true}, {ConflictAnswer::Merge, true}};
    ConflictResolver resolver(answers.handler());
    EXPECT_EQ(resolver.resolve(files), ConflictAnswer::KeepBoth);
    EXPECT_EQ(resolver.resolve(folders), ConflictAnswer::Merge);
    // Another job of the batch asks its own way but hears the batch's answers.
    Answers other;
    ConflictResolver nextJob = resolver.askingThrough(other.handler());
    EXPECT_EQ(nextJob.resolve(files), ConflictAnswer::KeepBoth);
    EXPECT_EQ(nextJob.resolve(folders), ConflictAnswer::Merge);
    EXPECT_EQ(answers.asked.size(), 2);
    EXPECT_TRUE(other.asked.isEmpty());

    // Merge fits only two folders; without apply-to-all every conflict asks.
    Answers once;
    once.choices = {{ConflictAnswer::Merge, false}, {ConflictAnswer::Skip, false}};
    ConflictResolver asking(once.handler());
    EXPECT_THROW(asking.resolve(files), FileError);
    EXPECT_EQ(asking.resolve(files), ConflictAnswer::Skip);
    EXPECT_EQ(ConflictResolver::always(ConflictAnswer::Merge).resolve(files),
              ConflictAnswer::KeepBoth);
}

TEST(CopyConflicts, EachAnswerOnAFile)
{
    const QString trash = temporaryTrash();
    TempTree tree;
    const QString source = tree.file("new/report.pdf", "new");
    const QString dest = tree.folder("dest");
    const QString old = tree.file("dest/report.pdf", "old");

    ConflictResolver refuse;
    EXPECT_THROW(copyAnswering(source, dest, refuse), FileError);

    Answers answers;
    answers.choices = {{ConflictAnswer::Skip, false},
                       {ConflictAnswer::KeepBoth, false},
                       {ConflictAnswer::KeepBoth, false},
                       {ConflictAnswer::Replace, false}};
    ConflictResolver resolver(answers.handler());
    EXPECT_TRUE(copyAnswering(source, dest, resolver).placed.isEmpty());
    EXPECT_EQ(entriesOf(dest), QStringList{"report.pdf"});

    TransferOutcome kept = copyAnswering(source, dest, resolver);
    ASSERT_EQ(kept.placed.size(), 1);
    EXPECT_EQ(kept.placed[0].to, dest + "/report (2).pdf");
    EXPECT_EQ(contentsOf(dest + "/report (2).pdf"), "new");
    copyAnswering(source, dest, resolver);
    EXPECT_EQ(entriesOf(dest), (QStringList{"report (2).pdf", "report (3).pdf", "report.pdf"}));
    EXPECT_EQ(answers.asked[0], (NameConflict{source, old, false, false}));

    // Replace: the old file is in the trash, never deleted, and the copy has its name.
    TransferOutcome replaced = copyAnswering(source, dest, resolver);
    ASSERT_EQ(replaced.placed.size(), 1);
    ASSERT_TRUE(replaced.placed[0].replaced.has_value());
    EXPECT_EQ(contentsOf(old), "new");
    EXPECT_EQ(contentsOf(replaced.placed[0].replaced->trashed), "old");
    EXPECT_TRUE(replaced.placed[0].replaced->trashed.startsWith(trash));
    EXPECT_EQ(contentsOf(source), "new");
    EXPECT_TRUE(partialCopiesIn(dest).isEmpty());
}

TEST(CopyConflicts, FoldersMergeItemByItemOrGoWhole)
{
    temporaryTrash();
    TempTree tree;
    const QString album = tree.folder("src/album");
    tree.file("src/album/one.jpg", "new one");
    tree.file("src/album/two.jpg", "two");
    tree.file("src/album/sub/three.jpg", "three");
    const QString dest = tree.folder("dest");
    tree.file("dest/album/one.jpg", "old one");
    tree.file("dest/album/sub/kept.jpg", "kept");

    Answers answers;
    answers.choices = {{ConflictAnswer::Merge, false},
                       {ConflictAnswer::KeepBoth, false},
                       {ConflictAnswer::Merge, false}};
    ConflictResolver resolver(answers.handler());
    const TransferOutcome merged = copyAnswering(album, dest, resolver);
    EXPECT_EQ(entriesOf(dest), QStringList{"album"});
    EXPECT_EQ(entriesOf(dest + "/album"),
              (QStringList{"one (2).jpg", "one.jpg", "sub", "two.jpg"}));
    EXPECT_EQ(contentsOf(dest + "/album/one.jpg"), "old one");
    EXPECT_EQ(contentsOf(dest + "/album/one (2).jpg"), "new one");
    EXPECT_EQ(entriesOf(dest + "/album/sub"), (QStringList{"kept.jpg", "three.jpg"}));
    ASSERT_EQ(answers.asked.size(), 3);
    EXPECT_TRUE(answers.asked[0].canMerge());
    EXPECT_EQ(answers.asked[1].source, album + "/one.jpg");
    EXPECT_EQ(merged.placed.size(), 3); // one (2).jpg, two.jpg, sub/three.jpg
    EXPECT_TRUE(partialCopiesIn(dest).isEmpty());

    // Keep both for a folder: no extension to keep apart.
    answers.choices = {{ConflictAnswer::KeepBoth, false}};
    copyAnswering(album, dest, resolver);
    EXPECT_EQ(entriesOf(dest), (QStringList{"album", "album (2)"}));
    EXPECT_EQ(entriesOf(dest + "/album (2)"), (QStringList{"one.jpg", "sub", "two.jpg"}));

    // Replace a folder: the whole old one goes to the trash.
    answers.choices = {{ConflictAnswer::Replace, false}};
    const TransferOutcome replaced = copyAnswering(album, dest, resolver);
    ASSERT_TRUE(replaced.placed.value(0).replaced.has_value());
    EXPECT_EQ(entriesOf(dest + "/album"), (QStringList{"one.jpg", "sub", "two.jpg"}));
    EXPECT_EQ(entriesOf(replaced.placed[0].replaced->trashed),
              (QStringList{"one (2).jpg", "one.jpg", "sub", "two.jpg"}));
}

TEST(CopyConflicts, ANameThatAppearsDuringTheCopyIsAskedAgainNeverReplaced)
{
    temporaryTrash();
    TempTree tree;
    const QString source = tree.file("big.bin", QByteArray(3 * kMiB, 'b'));
    const QString dest = tree.folder("dest");
    const QString target = dest + "/big.bin";
    auto appear = [&](const CopyProgress& p) {
        if (p.bytes > 0 && !QFile::exists(target)) tree.file("dest/big.bin", "appeared");
    };

    ConflictResolver refuse;
    EXPECT_THROW(copyAnswering(source, dest, refuse, appear), FileError);
    EXPECT_EQ(contentsOf(target), "appeared");
    EXPECT_EQ(entriesOf(dest), QStringList{"big.bin"}) << "no half-copied item is left";

    QFile::remove(target);
    Answers answers;
    answers.choices = {{ConflictAnswer::KeepBoth, false}};
    ConflictResolver resolver(answers.handler());
    const TransferOutcome outcome = copyAnswering(source, dest, resolver, appear);
    ASSERT_EQ(answers.asked.size(), 1) << "nothing was there when the copy began";
    EXPECT_EQ(answers.asked[0].existing, target);
    EXPECT_EQ(contentsOf(target), "appeared");
    EXPECT_EQ(contentsOf(dest + "/big (2).bin"), contentsOf(source));
    EXPECT_EQ(outcome.placed.value(0).to, dest + "/big (2).bin");

    // Replace, said before any data moved, takes the old item away only once
    // the copy is complete.
    Answers replace;
    replace.choices = {{ConflictAnswer::Replace, false}};
    ConflictResolver replacing(replace.handler());
    QList<QByteArray> seenDuringCopy;
    copyAnswering(source, dest, replacing, [&](const CopyProgress& p) {
        if (p.bytes < p.total) seenDuringCopy.append(contentsOf(target));
    });
    EXPECT_EQ(replace.asked.size(), 1);
    ASSERT_FALSE(seenDuringCopy.isEmpty());
    EXPECT_EQ(seenDuringCopy.count("appeared"), seenDuringCopy.size());
    EXPECT_EQ(contentsOf(target), contentsOf(source));
    EXPECT_TRUE(partialCopiesIn(dest).isEmpty());
}

TEST(CopyConflicts, AnItemCantReplaceItself)
{
    temporaryTrash();
    TempTree tree;
    const QString source = tree.file("notes.txt", "mine");
    ConflictResolver replacing = ConflictResolver::always(ConflictAnswer::Replace);
    EXPECT_THROW(copyAnswering(source, tree.root(), replacing), FileError);
    EXPECT_EQ(contentsOf(source), "mine");
    EXPECT_EQ(entriesOf(tree.root()), QStringList{"notes.txt"});
    EXPECT_TRUE(trashedNames().filter("notes").isEmpty());

    ConflictResolver keepBoth = ConflictResolver::always(ConflictAnswer::KeepBoth);
    copyAnswering(source, tree.root(), keepBoth);
    EXPECT_EQ(entriesOf(tree.root()), (QStringList{"notes (2).txt", "notes.txt"}));
}
