#include "fake_dbus_service.h"
#include "file_size_format.h"
#include "native_path.h"
#include "private_session_bus.h"
#include "timeline/view_fixture.h"
#include "transfers/transfers_view.h"
#include "ui/empty_state.h"

#include <QAction>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>

namespace {

class TransfersViewTest : public ViewTest {
protected:
    void SetUp() override
    {
        ViewTest::SetUp();
        dest = tree.folder("dest");
        makeModel(Feature::Transfers);
        view.setModel(model.get());
    }
    void TearDown() override
    {
        view.setModel(nullptr);
        // Cancelling changes the list, so the ids are taken first.
        QList<QUuid> ids;
        for (const TransferItem& item : store.items())
            ids << item.id;
        for (const QUuid& id : ids)
            store.cancel(id);
        ASSERT_TRUE(waitFor([&] { return !store.activeID(); }));
        ViewTest::TearDown();
    }

    // A copy that the fixture's engine holds until it is cancelled; sparse,
    // so it costs no disk.
    QString largeFile(const QString& name)
    {
        const QString path = tree.file(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadWrite));
        EXPECT_TRUE(file.resize(qint64(4) << 30));
        return path;
    }

    TransferRow* row(int index) const
    {
        return index < view.rows().size() ? view.rows()[index] : nullptr;
    }
    bool statusIs(int index, const char* status) const
    {
        return row(index) && row(index)->statusText() == QLatin1String(status);
    }
    static bool offers(const TransferRow* row, bool cancel, bool retry)
    {
        return !row->cancelButton()->isHidden() == cancel &&
               !row->retryButton()->isHidden() == retry;
    }

    QString dest;
    TransfersView view;
};

} // namespace

TEST_F(TransfersViewTest, RowsFollowEveryStatusAndTheirButtonsCancelAndRetry)
{
    EXPECT_TRUE(view.showsEmptyState());
    EXPECT_EQ(view.emptyState()->title(), "Ready when you are");
    EXPECT_EQ(view.subtitle(), "Choose a destination when adding files");
    EXPECT_FALSE(view.clearButton()->isEnabled());

    store.enqueue(
        {largeFile("large.bin"), tree.file("small.txt", "small"), tree.file("later.txt", "later")},
        dest);
    ASSERT_EQ(view.rows().size(), 3);
    EXPECT_FALSE(view.showsEmptyState());
    EXPECT_EQ(row(0)->name(), "large.bin");
    EXPECT_EQ(row(0)->destinationText(), dest);

    // The running copy shows its progress and can be cancelled.
    ASSERT_TRUE(
        waitFor([&] { return statusIs(0, "Copying") && row(0)->progressBar()->value() > 0; }));
    EXPECT_TRUE(offers(row(0), true, false));
    EXPECT_FALSE(row(0)->progressBar()->isHidden());
    EXPECT_TRUE(row(0)->progressText().endsWith(" of 4.29 GB"))
        << row(0)->progressText().toStdString();
    EXPECT_TRUE(statusIs(1, "Queued"));
    EXPECT_TRUE(offers(row(1), true, false));
    EXPECT_TRUE(row(1)->progressText().isEmpty());
    EXPECT_FALSE(view.clearButton()->isEnabled());

    // A queued job is cancelled at once and offers "Retry" instead.
    row(1)->cancelButton()->click();
    EXPECT_TRUE(statusIs(1, "Cancelled"));
    EXPECT_TRUE(offers(row(1), false, true));
    EXPECT_EQ(store.items()[1].status, TransferStatus::Cancelled);

    row(0)->cancelButton()->click();
    ASSERT_TRUE(waitFor([&] { return statusIs(0, "Cancelled"); }));
    EXPECT_TRUE(offers(row(0), false, true));
    EXPECT_TRUE(row(0)->progressBar()->isHidden());
    EXPECT_TRUE(row(0)->errorText().isEmpty()); // cancelling is no failure

    // The next job ran meanwhile; a finished job offers nothing.
    ASSERT_TRUE(waitFor([&] { return statusIs(2, "Completed"); }));
    EXPECT_TRUE(offers(row(2), false, false));
    EXPECT_TRUE(view.clearButton()->isEnabled());

    row(1)->retryButton()->click();
    EXPECT_NE(store.items()[1].status, TransferStatus::Cancelled);
    ASSERT_TRUE(waitFor([&] { return statusIs(1, "Completed"); }));
    EXPECT_TRUE(QFile::exists(dest + "/small.txt"));
    EXPECT_EQ(view.rows().size(), 3);
}

TEST_F(TransfersViewTest, AFailureIsShownAndRetriedOnceItsCauseIsGone)
{
    const QString taken = tree.file("taken.txt", "new");
    const QString blocker = tree.file("dest/taken.txt", "old");
    store.enqueue({taken}, dest);
    ASSERT_TRUE(waitFor([&] { return statusIs(0, "Failed"); }));
    ASSERT_TRUE(store.items()[0].error.has_value());
    EXPECT_EQ(row(0)->errorText(), *store.items()[0].error);
    EXPECT_FALSE(row(0)->errorText().isEmpty());
    EXPECT_TRUE(offers(row(0), false, true));
    // Only failed jobs: nothing to clear.
    EXPECT_FALSE(view.clearButton()->isEnabled());

    ASSERT_TRUE(QFile::remove(blocker));
    row(0)->retryButton()->click();
    ASSERT_TRUE(waitFor([&] { return statusIs(0, "Completed"); }));
    EXPECT_TRUE(row(0)->errorText().isEmpty());
    QFile copy(dest + "/taken.txt");
    ASSERT_TRUE(copy.open(QIODevice::ReadOnly));
    EXPECT_EQ(copy.readAll(), "new");
}

TEST_F(TransfersViewTest, ClearCompletedKeepsTheOthersAndSearchNarrowsTheRows)
{
    tree.file("dest/clash.txt", "old");
    store.enqueue(
        {tree.file("alpha.txt", "a"), tree.file("clash.txt", "c"), tree.file("beta.txt", "b")},
        dest);
    ASSERT_TRUE(waitFor([&] { return !store.activeID() && statusIs(2, "Completed"); }));
    EXPECT_TRUE(statusIs(1, "Failed"));

    model->setQuery(QStringLiteral("ALPHA"));
    ASSERT_EQ(view.rows().size(), 1);
    EXPECT_EQ(row(0)->name(), "alpha.txt");
    model->setQuery(QStringLiteral("gamma"));
    EXPECT_TRUE(view.rows().isEmpty());
    EXPECT_TRUE(view.showsNoMatch());
    EXPECT_FALSE(view.showsEmptyState());
    model->setQuery(QString());
    EXPECT_EQ(view.rows().size(), 3);
    EXPECT_FALSE(view.showsNoMatch());

    view.clearButton()->click();
    ASSERT_EQ(view.rows().size(), 1);
    EXPECT_EQ(row(0)->name(), "clash.txt");
    EXPECT_FALSE(view.clearButton()->isEnabled());
}

TEST_F(TransfersViewTest, AddFilesQueuesTheChosenItemsAtTheChosenDestination)
{
    const QString source = tree.file("chosen.txt", "chosen");
    WorkspacePlatform platform = WorkspacePlatform::headless();
    platform.chooseItems = [&](const QString&) { return QStringList{source}; };
    platform.chooseFolder = [&](const QString&, const QString&) {
        return std::optional<QString>(dest);
    };
    model->setPlatform(platform);
    view.addButton()->click();
    ASSERT_EQ(view.rows().size(), 1);
    EXPECT_EQ(row(0)->name(), "chosen.txt");
    EXPECT_EQ(row(0)->destinationText(), dest);
    ASSERT_TRUE(waitFor([&] { return statusIs(0, "Completed"); }));

    // In a folder the header names it instead of asking for a destination.
    model->navigate(dest);
    ASSERT_TRUE(waitFor([&] { return !model->isMacScope(); }));
    EXPECT_EQ(view.subtitle(), dest);
}

TEST_F(TransfersViewTest, RowsAndTheHeaderPauseAndResumeAndTheHeaderSaysWhatIsLeft)
{
    EXPECT_TRUE(view.remainingText().isEmpty());
    EXPECT_FALSE(view.pauseQueueButton()->isEnabled());
    store.enqueue({largeFile("large.bin"), tree.file("small.txt", "small")}, dest);
    ASSERT_TRUE(waitFor([&] { return statusIs(0, "Copying") && row(0)->progressBar()->value(); }));
    // What the running copy has still to write and the queued job's size, once measured.
    ASSERT_TRUE(waitFor([&] {
        const TransferItem& running = store.items()[0];
        return store.remainingBytes() == running.total - running.bytes + 5;
    }));
    EXPECT_TRUE(view.remainingText().startsWith(formatFileSize(store.remainingBytes()) + " left"))
        << view.remainingText().toStdString();
    EXPECT_EQ(row(0)->pauseButton()->text(), "Pause");
    EXPECT_FALSE(row(1)->pauseButton()->isHidden());

    row(0)->pauseButton()->click();
    EXPECT_TRUE(store.items()[0].paused);
    EXPECT_TRUE(statusIs(0, "Paused"));
    EXPECT_EQ(row(0)->pauseButton()->text(), "Resume");
    // A queued job can be held too; it is passed over until resumed.
    row(1)->pauseButton()->click();
    EXPECT_TRUE(statusIs(1, "Paused"));
    EXPECT_EQ(store.items()[1].status, TransferStatus::Queued);
    row(0)->pauseButton()->click();
    EXPECT_FALSE(store.items()[0].paused);
    EXPECT_TRUE(statusIs(0, "Copying"));
    EXPECT_EQ(row(0)->pauseButton()->text(), "Pause");

    ASSERT_TRUE(view.pauseQueueButton()->isEnabled());
    EXPECT_EQ(view.pauseQueueButton()->text(), "Pause queue");
    view.pauseQueueButton()->click();
    EXPECT_TRUE(store.isQueuePaused());
    EXPECT_EQ(view.pauseQueueButton()->text(), "Resume queue");
    view.pauseQueueButton()->click();
    EXPECT_FALSE(store.isQueuePaused());
    EXPECT_EQ(view.pauseQueueButton()->text(), "Pause queue");

    // Once the long copy stops, the held job waits until resumed, then runs.
    row(0)->cancelButton()->click();
    ASSERT_TRUE(waitFor([&] { return statusIs(0, "Cancelled"); }));
    EXPECT_TRUE(statusIs(1, "Paused"));
    row(1)->pauseButton()->click();
    ASSERT_TRUE(waitFor([&] { return statusIs(1, "Completed"); }));
    EXPECT_TRUE(QFile::exists(dest + "/small.txt"));
    EXPECT_TRUE(view.remainingText().isEmpty());
    EXPECT_FALSE(view.pauseQueueButton()->isEnabled());
}

TEST_F(TransfersViewTest, RemainingTimeReadsInMinutesAndHours)
{
    EXPECT_EQ(TransfersView::timeLeft(20), "less than a minute");
    EXPECT_EQ(TransfersView::timeLeft(170), "about 3 min");
    EXPECT_EQ(TransfersView::timeLeft(2 * 3600 + 5 * 60), "about 2 h 5 min");
}

TEST_F(TransfersViewTest, LongQueuesMakeRowsAsTheyScrollIntoView)
{
    QStringList sources;
    for (int i = 0; i < 150; ++i)
        sources << tree.file(QStringLiteral("many/%1.txt").arg(i), "m");
    // Held behind a long copy so that the list stays as it is.
    store.enqueue({largeFile("first.bin")}, dest);
    store.enqueue(sources, dest);
    view.resize(700, 600);
    view.show();
    QApplication::processEvents();
    EXPECT_EQ(view.shownCount(), 151);
    const qsizetype made = view.rows().size();
    EXPECT_LT(made, 151);
    EXPECT_GE(made, TransfersView::rowPage);
    QScrollBar* bar = view.scrollArea()->verticalScrollBar();
    ASSERT_TRUE(waitFor([&] {
        bar->setValue(bar->maximum());
        return view.rows().size() == 151;
    }));
    EXPECT_EQ(view.rows().last()->name(), "149.txt");
}

TEST_F(TransfersViewTest, LooksRightInBothAppearances)
{
    tree.file("dest/clash.txt", "old");
    store.enqueue({tree.file("holiday.mov", QByteArray(40000, 'v')), tree.file("clash.txt", "c"),
                   tree.file("notes.txt", "n")},
                  dest);
    ASSERT_TRUE(waitFor([&] { return !store.activeID(); }));
    store.enqueue({largeFile("archive.bin"), tree.file("queued.txt", "q")}, dest);
    ASSERT_TRUE(waitFor([&] { return statusIs(3, "Copying") && row(3)->item().bytes > 0; }));
    // Every look at once: completed, failed, copying and cancelled.
    store.cancel(store.items()[4].id);
    const QList<QImage> shots = grabBoth(view, "transfers", {900, 900});
    EXPECT_NE(shots[0].pixel(5, 5), shots[1].pixel(5, 5));

    TransfersView empty;
    empty.setModel(nullptr);
    EXPECT_TRUE(empty.showsEmptyState());
    grabBoth(empty, "transfers-empty");
}

TEST_F(TransfersViewTest, QueuedJobsMoveUpAndDownFromTheirMenus)
{
    store.setQueuePaused(true);
    store.enqueue({tree.file("a.txt", "a"), tree.file("b.txt", "b"), tree.file("c.txt", "c")},
                  dest);
    ASSERT_EQ(view.rows().size(), 3);
    const auto names = [&] {
        QStringList shown;
        for (const TransferRow* row : view.rows())
            shown << row->name();
        return shown.join(u',');
    };
    EXPECT_FALSE(row(0)->moveUpAction()->isEnabled());
    EXPECT_TRUE(row(0)->moveDownAction()->isEnabled());
    EXPECT_TRUE(row(2)->moveUpAction()->isEnabled());
    EXPECT_FALSE(row(2)->moveDownAction()->isEnabled());

    row(2)->moveUpAction()->trigger();
    EXPECT_EQ(names(), "a.txt,c.txt,b.txt");
    row(0)->moveDownAction()->trigger();
    EXPECT_EQ(names(), "c.txt,a.txt,b.txt");
    EXPECT_FALSE(row(0)->moveUpAction()->isEnabled());
    EXPECT_TRUE(row(1)->moveUpAction()->isEnabled());

    // They run in the order shown; finished jobs have no place to move to.
    QStringList ran;
    QObject::connect(&store, &TransferStore::itemFinished, &view,
                     [&](const TransferItem& item) { ran << item.name(); });
    store.setQueuePaused(false);
    ASSERT_TRUE(waitFor([&] { return ran.size() == 3; }));
    EXPECT_EQ(ran.join(u','), "c.txt,a.txt,b.txt");
    for (int i = 0; i < 3; ++i) {
        EXPECT_FALSE(row(i)->moveUpAction()->isEnabled());
        EXPECT_FALSE(row(i)->moveDownAction()->isEnabled());
    }
}

TEST_F(TransfersViewTest, ShowInFileManagerAsksTheDesktopsFileManagerForTheItem)
{
    PrivateSessionBus bus;
    if (!bus.failure().isEmpty()) GTEST_SKIP() << bus.failure().toStdString();
    FakeDBusService fileManager(QStringLiteral("org.freedesktop.FileManager1"),
                                QStringLiteral("/org/freedesktop/FileManager1"));
    ASSERT_TRUE(fileManager.registered());
    const QString source = tree.file("shown.txt", "s");
    store.enqueue({source, tree.path("missing.txt")}, dest);
    ASSERT_TRUE(waitFor([&] { return statusIs(0, "Completed") && statusIs(1, "Failed"); }));

    // A copied item is shown where it landed, a failed one where it came from.
    row(0)->revealAction()->trigger();
    row(1)->revealAction()->trigger();
    const QList<QDBusMessage> calls = fileManager.calls();
    ASSERT_EQ(calls.size(), 2);
    EXPECT_EQ(calls[0].interface(), "org.freedesktop.FileManager1");
    EXPECT_EQ(calls[0].member(), "ShowItems");
    EXPECT_EQ(calls[0].arguments().value(0).toStringList(),
              QStringList{urlForPath(dest + "/shown.txt").toString()});
    EXPECT_EQ(calls[1].arguments().value(0).toStringList(),
              QStringList{urlForPath(tree.path("missing.txt")).toString()});
}
