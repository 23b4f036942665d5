#include "test_support.h"
#include "workspace/workspace_fixture.h"

#include <QFile>
#include <QImage>
#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {

const QString discovering = QStringLiteral("Discovering indexed files\u2026");

QStringList names(const QList<FileEntry>& files)
{
    QStringList out;
    for (const FileEntry& f : files)
        out << f.name;
    return out;
}

} // namespace

TEST(WorkspaceModel, NewModelDiscoversItsSectionsKind)
{
    WorkspaceFixture images(Feature::Images);
    ASSERT_EQ(images.log->starts.size(), 1);
    EXPECT_EQ(images.log->starts[0].kind, MediaKind::Image);
    EXPECT_FALSE(images.log->starts[0].screenshotsOnly);
    EXPECT_TRUE(images->busy());
    EXPECT_EQ(images->operation(), discovering);
    EXPECT_TRUE(images->isMacScope());

    WorkspaceFixture shots(Feature::Screenshots);
    EXPECT_EQ(shots.log->starts[0].kind, MediaKind::Image);
    EXPECT_TRUE(shots.log->starts[0].screenshotsOnly);

    WorkspaceFixture recent(Feature::Recent);
    EXPECT_EQ(recent.log->starts[0].kind, MediaKind::Other);
    EXPECT_TRUE(recent->sortByDate());
    EXPECT_EQ(recent->mode(), BrowserMode::Grid);

    // The queue section runs no discovery and no filtering pass.
    WorkspaceFixture transfers(Feature::Transfers);
    EXPECT_TRUE(transfers.log->starts.isEmpty());
    EXPECT_FALSE(transfers->busy());
    EXPECT_FALSE(transfers->isFiltering());
    EXPECT_TRUE(transfers->files().isEmpty());
}

TEST(WorkspaceModel, SnapshotsFillTheListAndFinalOnesPruneTheSelection)
{
    WorkspaceFixture images(Feature::Images);
    const FileEntry a = indexedFile("/pics/a.jpg"), b = indexedFile("/pics/b.png");
    images.log->send(interimSnapshot({a}));
    EXPECT_EQ(images->files().size(), 1);
    EXPECT_TRUE(images->busy());
    images->setSelection({a.path, b.path});

    images.log->send(finalSnapshot({b}));
    EXPECT_FALSE(images->busy());
    EXPECT_EQ(images->operation(), QStringLiteral("Ready"));
    EXPECT_EQ(images->selection(), QSet<QString>{b.path});
    ASSERT_TRUE(waitUntilSettled(*images));
    EXPECT_EQ(names(images->libraryResult().files), QStringList{"b.png"});

    // A snapshot with a message keeps the list and the selection.
    const QString message = QStringLiteral("System-wide discovery is unavailable.");
    images.log->send(LibrarySnapshot{{}, {}, false, message});
    EXPECT_EQ(images->files().size(), 1);
    EXPECT_EQ(images->selection(), QSet<QString>{b.path});
    EXPECT_EQ(images->libraryMessage(), message);
    EXPECT_FALSE(images->busy());
}

TEST(WorkspaceModel, RediscoveryKeepsTheListUntilGatheringEnds)
{
    WorkspaceFixture docs(Feature::Documents);
    const FileEntry a = indexedFile("/d/a.pdf"), b = indexedFile("/d/b.txt");
    docs.log->send(finalSnapshot({a}));
    docs->refresh();
    ASSERT_EQ(docs.log->starts.size(), 2);
    docs.log->send(interimSnapshot({b}));
    EXPECT_EQ(names(docs->files()), QStringList{"a.pdf"});
    EXPECT_TRUE(docs->busy());
    docs.log->send(finalSnapshot({a, b}));
    EXPECT_EQ(docs->files().size(), 2);
}

TEST(WorkspaceModel, SnapshotsAfterOpeningAFolderAreIgnored)
{
    TempTree tree;
    tree.file("x.txt", "x");
    WorkspaceFixture explorer(Feature::Explorer);
    auto receiver = explorer.log->receiver; // the run that is still gathering
    explorer->navigate(tree.root());
    EXPECT_FALSE(explorer->isMacScope());
    ASSERT_TRUE(waitFor([&] { return explorer->files().size() == 1; }));
    receiver(finalSnapshot({indexedFile("/elsewhere/y.txt")}));
    EXPECT_EQ(names(explorer->files()), QStringList{"x.txt"});
}

TEST(WorkspaceModel, TypingIsDebouncedAndOnlyTheLastPassPublishes)
{
    WorkspaceFixture explorer(Feature::Explorer);
    QList<FileEntry> files;
    for (const char* n : {"alpha.txt", "alps.txt", "beta.txt", "alphabet.txt"})
        files << indexedFile(QStringLiteral("/t/") + n);
    explorer.log->send(finalSnapshot(files));
    ASSERT_TRUE(waitUntilSettled(*explorer));

    QSignalSpy published(explorer.model.get(), &WorkspaceModel::libraryResultChanged);
    for (const char* q : {"a", "al", "alp", "alph", "alpha"})
        explorer->setQuery(q);
    EXPECT_TRUE(explorer->isFiltering());
    ASSERT_TRUE(waitUntilSettled(*explorer));
    EXPECT_EQ(published.size(), 1);
    EXPECT_EQ(names(explorer->libraryResult().files), (QStringList{"alpha.txt", "alphabet.txt"}));

    // New files cancel a waiting debounced pass and use the new query at once.
    explorer->setQuery("beta");
    explorer->setFiles({indexedFile("/t/beta.txt"), indexedFile("/t/gamma.txt")});
    ASSERT_TRUE(waitUntilSettled(*explorer));
    EXPECT_EQ(names(explorer->libraryResult().files), QStringList{"beta.txt"});
}

TEST(WorkspaceModel, TypingSearchesTheFilesAndBoundsOfTheMoment)
{
    const QDateTime now = QDateTime::currentDateTimeUtc();
    WorkspaceFixture images(Feature::Images);
    images.log->send(finalSnapshot({indexedFile("/p/holiday.jpg", 10, now),
                                    indexedFile("/p/home.png", 20, now.addSecs(-1)),
                                    indexedFile("/p/holiday.txt", 30, now)}));
    ASSERT_TRUE(waitUntilSettled(*images));
    images->setQuery("HO");
    ASSERT_TRUE(waitUntilSettled(*images));
    EXPECT_EQ(names(images->libraryResult().files), (QStringList{"holiday.jpg", "home.png"}));
    images->setQuery("hol");
    ASSERT_TRUE(waitUntilSettled(*images));
    EXPECT_EQ(names(images->libraryResult().files), QStringList{"holiday.jpg"});

    // A new list from the index is what the next keystrokes search.
    images.log->send(finalSnapshot({indexedFile("/p/holiday.jpg", 10, now),
                                    indexedFile("/p/hollow.jpg", 40, now.addSecs(-2))}));
    ASSERT_TRUE(waitUntilSettled(*images));
    EXPECT_EQ(names(images->libraryResult().files), (QStringList{"holiday.jpg", "hollow.jpg"}));
    images->setQuery("holl");
    ASSERT_TRUE(waitUntilSettled(*images));
    EXPECT_EQ(names(images->libraryResult().files), QStringList{"hollow.jpg"});

    // So is a new size bound of the largest files.
    WorkspaceFixture large(Feature::Large);
    large.log->send(finalSnapshot({indexedFile("/l/big.iso", 200000000, now),
                                   indexedFile("/l/bigger.iso", 300000000, now.addSecs(-1)),
                                   indexedFile("/l/small.iso", 1000, now)}));
    ASSERT_TRUE(waitUntilSettled(*large));
    large->setQuery(".iso");
    ASSERT_TRUE(waitUntilSettled(*large));
    EXPECT_EQ(names(large->libraryResult().files), (QStringList{"bigger.iso", "big.iso"}));
    large->setMinimumFileSize(250000000);
    ASSERT_TRUE(waitUntilSettled(*large));
    EXPECT_EQ(names(large->libraryResult().files), QStringList{"bigger.iso"});
    large->setMinimumFileSize(1);
    ASSERT_TRUE(waitUntilSettled(*large));
    EXPECT_EQ(names(large->libraryResult().files),
              (QStringList{"bigger.iso", "big.iso", "small.iso"}));
}

TEST(WorkspaceModel, AStaleFilteringPassNeverOverwritesANewerOne)
{
    WorkspaceFixture explorer(Feature::Explorer);
    explorer.log->send(finalSnapshot({}));
    QList<FileEntry> many;
    for (int i = 0; i < 200000; ++i)
        many << indexedFile(QStringLiteral("/big/f%1.dat").arg(i));
    explorer->setFiles(many);
    explorer->setFiles({indexedFile("/small/only.txt")});
    ASSERT_TRUE(waitUntilSettled(*explorer, 60000));
    ASSERT_TRUE(waitForBackgroundWork()); // the stale pass has ended too
    EXPECT_EQ(names(explorer->libraryResult().files), QStringList{"only.txt"});
}

TEST(WorkspaceModel, SectionFiltersFollowTheirRules)
{
    const QDateTime now = QDateTime::currentDateTimeUtc();
    WorkspaceFixture large(Feature::Large);
    large.log->send(
        finalSnapshot({indexedFile("/l/under", 99999999), indexedFile("/l/exact", 100000000),
                       indexedFile("/l/dir", 500000000, now, true)}));
    ASSERT_TRUE(waitUntilSettled(*large));
    EXPECT_EQ(names(large->libraryResult().files), QStringList{"exact"});

    WorkspaceFixture timeline(Feature::Timeline);
    timeline.log->send(finalSnapshot(
        {indexedFile("/t/today", 1, now), indexedFile("/t/old", 1, now.addDays(-10))}));
    ASSERT_TRUE(waitUntilSettled(*timeline));
    EXPECT_EQ(timeline->timelineGroups().size(), 2);
    timeline->setTimelineDays(3);
    ASSERT_TRUE(waitUntilSettled(*timeline));
    ASSERT_EQ(timeline->timelineGroups().size(), 1);
    EXPECT_EQ(names(timeline->timelineGroups()[0].files), QStringList{"today"});

    WorkspaceFixture recent(Feature::Recent);
    recent.log->send(finalSnapshot(
        {indexedFile("/r/new", 1, now.addDays(-6)), indexedFile("/r/stale", 1, now.addDays(-8))}));
    ASSERT_TRUE(waitUntilSettled(*recent));
    EXPECT_EQ(names(recent->libraryResult().files), QStringList{"new"});
}

TEST(WorkspaceModel, FolderListingKeepsFoldersInExplorerAndScansInAnalysisSections)
{
    TempTree tree;
    tree.folder("sub");
    tree.file("sub/one.bin", QByteArray(10, 'a'));
    tree.file("two.bin", QByteArray(10, 'a'));
    tree.file("three.bin", QByteArray(20, 'b'));

    WorkspaceFixture explorer(Feature::Explorer);
    explorer->navigate(tree.root());
    ASSERT_TRUE(waitFor([&] { return explorer->files().size() == 3; }));
    ASSERT_TRUE(waitUntilSettled(*explorer));
    EXPECT_TRUE(names(explorer->visible()).contains("sub"));

    WorkspaceFixture dupes(Feature::Duplicates);
    QStringList operations;
    QObject::connect(dupes.model.get(), &WorkspaceModel::activityChanged,
                     [&] { operations << dupes->operation(); });
    dupes->navigate(tree.root());
    ASSERT_TRUE(waitFor([&] { return dupes->report().has_value(); }));
    ASSERT_TRUE(waitUntilSettled(*dupes));
    EXPECT_TRUE(operations.contains(QStringLiteral("Scanning files\u2026")));
    EXPECT_TRUE(operations.contains(QStringLiteral("Comparing file contents\u2026")));
    EXPECT_EQ(dupes->operation(), QStringLiteral("Ready"));
    ASSERT_EQ(dupes->duplicateGroups().size(), 1);
    EXPECT_EQ(dupes->duplicateGroups()[0].size(), 2);
    EXPECT_EQ(dupes->report()->files.size(), 3);
    EXPECT_FALSE(names(dupes->libraryResult().files).contains("sub"));
}

TEST(WorkspaceModel, StorageAnalyzerBuildsItsTreeFromTheWholeComputer)
{
    WorkspaceFixture storage(Feature::Storage);
    storage.log->send(
        finalSnapshot({indexedFile("/home/u/a.bin", 5), indexedFile("/var/b.bin", 7)}));
    ASSERT_TRUE(waitFor([&] { return storage->storageTree() != nullptr; }));
    ASSERT_TRUE(waitUntilSettled(*storage));
    EXPECT_EQ(storage->operation(), QStringLiteral("Ready"));
    ASSERT_TRUE(storage->report().has_value());
    EXPECT_EQ(storage->report()->inaccessible, 0);
    EXPECT_EQ(storage->report()->files.size(), 2);

    // In the index scope a scan re-discovers, except in the Duplicate Finder.
    storage->scan();
    EXPECT_EQ(storage.log->starts.size(), 2);
}

TEST(WorkspaceModel, CancellingPublishesNothing)
{
    TempTree tree;
    for (int i = 0; i < 3000; ++i)
        tree.file(QStringLiteral("d%1/f%2").arg(i % 50).arg(i), "x");

    WorkspaceFixture large(Feature::Large);
    large->navigate(tree.root());
    ASSERT_TRUE(waitFor([&] { return large->busy(); }));
    large->cancelScan();
    EXPECT_EQ(large->operation(), QStringLiteral("Cancelled"));
    EXPECT_FALSE(large->busy());
    EXPECT_FALSE(large->libraryMessage().has_value());
    ASSERT_TRUE(waitForBackgroundWork(*large)); // the cancelled scan has stopped
    EXPECT_FALSE(large->report().has_value());
    EXPECT_EQ(large->operation(), QStringLiteral("Cancelled"));

    WorkspaceFixture images(Feature::Images);
    images->cancelScan();
    EXPECT_EQ(images->libraryMessage(), QStringLiteral("Discovery paused. Refresh to resume."));
    EXPECT_FALSE(images.log->send(finalSnapshot({indexedFile("/x.jpg")})));
}

TEST(WorkspaceModel, AFolderThatVanishesGivesOneErrorAndTheModelStaysUsable)
{
    TempTree tree;
    tree.file("a.txt", "a");
    WorkspaceFixture explorer(Feature::Explorer);
    explorer->navigate(tree.path("gone"));
    ASSERT_TRUE(waitFor([&] { return explorer->error().has_value(); }));
    EXPECT_TRUE(explorer->files().isEmpty());
    EXPECT_FALSE(explorer->isMacScope());
    explorer->setError(std::nullopt);
    explorer->navigate(tree.root());
    ASSERT_TRUE(waitFor([&] { return explorer->files().size() == 1; }));
    EXPECT_FALSE(explorer->error().has_value());
}

TEST(WorkspaceModel, SwitchingItselfSavesAndRestoresSectionState)
{
    WorkspaceFixture model(Feature::Images);
    model.log->send(finalSnapshot({indexedFile("/p/a.jpg")}));
    model->setQuery("a");
    model->activate(Feature::Recent);
    EXPECT_EQ(model->feature(), Feature::Recent);
    EXPECT_EQ(model->mode(), BrowserMode::List);
    EXPECT_TRUE(model->sortByDate());
    EXPECT_TRUE(model->query().isEmpty());
    EXPECT_TRUE(model->files().isEmpty());
    model.log->send(finalSnapshot({indexedFile("/r/x.txt")}));

    model->activate(Feature::Images);
    EXPECT_EQ(model->query(), QStringLiteral("a"));
    EXPECT_EQ(names(model->files()), QStringList{"a.jpg"});
    EXPECT_EQ(model->mode(), BrowserMode::Grid);
}

TEST(WorkspaceModel, MediaPropertiesAreReadInBatchesOnlyWhenAFilterNeedsThem)
{
    TempTree tree;
    QList<FileEntry> images;
    for (int i = 0; i < 40; ++i) {
        const QString path = tree.path(QStringLiteral("img%1.png").arg(i));
        QImage(i < 10 ? 2000 : 40, i < 10 ? 1200 : 30, QImage::Format_RGB32).save(path);
        images << FileEntry::fromPath(path);
    }
    WorkspaceFixture model(Feature::Images);
    model.log->send(finalSnapshot(images));
    EXPECT_FALSE(model->readingMetadata()); // nothing needs properties yet

    QSignalSpy batches(model.model.get(), &WorkspaceModel::mediaMetadataChanged);
    MediaFilter hd;
    hd.resolution = MediaFilter::Resolution::Hd;
    model->setMediaFilter(hd);
    model->readMetadataIfNeeded();
    EXPECT_TRUE(model->readingMetadata());
    ASSERT_TRUE(waitUntilSettled(*model, 60000));
    EXPECT_GE(batches.size(), 2); // 40 files never fit one batch of 32
    EXPECT_EQ(model->mediaMetadata().size(), 40);
    EXPECT_EQ(model->libraryResult().files.size(), 10);

    // Everything has a recorded version now: nothing is read again...
    model->readMetadataIfNeeded();
    EXPECT_FALSE(model->readingMetadata());
    // ...until an entry changes.
    QImage(4000, 2500, QImage::Format_RGB32).save(images[20].path);
    images[20] = FileEntry::fromPath(images[20].path);
    images[20].modified = images[20].modified.addSecs(5);
    model->setFiles(images);
    model->readMetadataIfNeeded();
    EXPECT_TRUE(model->readingMetadata());
    ASSERT_TRUE(waitUntilSettled(*model, 60000));
    EXPECT_EQ(model->libraryResult().files.size(), 11);
}

TEST(WorkspaceModel, ALateResultAfterTheModelIsGoneIsDropped)
{
    TempTree tree;
    for (int i = 0; i < 2000; ++i)
        tree.file(QStringLiteral("d%1/f%2").arg(i % 40).arg(i), "same");
    auto fixture = std::make_unique<WorkspaceFixture>(Feature::Duplicates);
    (*fixture)->navigate(tree.root());
    QList<FileEntry> many;
    for (int i = 0; i < 100000; ++i)
        many << indexedFile(QStringLiteral("/m/%1").arg(i));
    (*fixture)->setFiles(many);
    ASSERT_TRUE(waitFor([&] { return (*fixture)->busy(); }));
    fixture.reset(); // while scanning, hashing or filtering
    // What was under way ends and answers a model that is gone.
    EXPECT_TRUE(waitForBackgroundWork());
}
