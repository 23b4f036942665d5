#include "fake_dbus_service.h"
#include "file_size_format.h"
#include "native_path.h"
#include "private_session_bus.h"
#include "timeline/view_fixture.h"
#include "transfers/transfer_list_model.h"
#include "transfers/transfer_row_delegate.h"
#include "transfers/transfers_view.h"
#include "ui/empty_state.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QContextMenuEvent>
#include <QListView>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QToolTip>

namespace {

class TransfersViewTest : public ViewTest {
protected:
    void SetUp() override
    {
        ViewTest::SetUp();
        dest = tree.folder("dest");
        makeModel(Feature::Transfers);
        view.setModel(model.get());
        view.resize(900, 900);
        view.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
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

    using Button = TransferRowDelegate::Button;
    using Role = TransferListModel::Role;

    QModelIndex row(int index) const { return view.transfers()->index(index, 0); }
    QVariant shown(int index, Role role) const
    {
        return index < view.shownCount() ? row(index).data(role) : QVariant();
    }
    QString name(int index) const { return shown(index, Role::NameRole).toString(); }
    // Empty unless the progress line is shown.
    QString progressText(int index) const
    {
        return shown(index, Role::ProgressTextRole).toString();
    }
    QString errorText(int index) const { return shown(index, Role::ErrorRole).toString(); }
    bool statusIs(int index, const char* status) const
    {
        return shown(index, Role::StatusTextRole).toString() == QLatin1String(status);
    }
    bool offers(int index, Button button) const
    {
        return view.rowDelegate()->buttons(row(index)).contains(button);
    }
    bool offers(int index, bool cancel, bool retry) const
    {
        return offers(index, Button::Cancel) == cancel && offers(index, Button::Retry) == retry;
    }
    // Clicks the row's button where the delegate draws it.
    void click(int index, Button button)
    {
        view.list()->scrollTo(row(index));
        const QRect rect = view.rowDelegate()->buttonRect(row(index), button);
        ASSERT_TRUE(view.list()->viewport()->rect().contains(rect)) << int(button);
        QTest::mouseClick(view.list()->viewport(), Qt::LeftButton, {}, rect.center());
    }
    // Opens the row's menu from its "More" button.
    QMenu* menu(int index)
    {
        click(index, Button::More);
        QMenu* open = view.rowDelegate()->openMenu();
        return open && open->isVisible() ? open : nullptr;
    }
    static QAction* action(QMenu* menu, const char* text)
    {
        for (QAction* action : menu->actions())
            if (action->text() == QLatin1String(text)) return action;
        return nullptr;
    }
    // Whether the row's menu offers the action; the menu is closed again.
    bool menuOffers(int index, const char* text)
    {
        QMenu* open = menu(index);
        EXPECT_NE(open, nullptr);
        if (!open) return false;
        const bool enabled = action(open, text)->isEnabled();
        open->close();
        return enabled;
    }
    void trigger(int index, const char* text)
    {
        QMenu* open = menu(index);
        ASSERT_NE(open, nullptr);
        action(open, text)->trigger();
        open->close();
    }

    QString dest;
    TransfersView view;
    QAbstractItemModelTester tester{view.transfers(),
                                    QAbstractItemModelTester::FailureReportingMode::Fatal};
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
    ASSERT_EQ(view.shownCount(), 3);
    EXPECT_FALSE(view.showsEmptyState());
    EXPECT_EQ(name(0), "large.bin");
    EXPECT_EQ(shown(0, Role::DestinationRole).toString(), dest);

    // The running copy shows its progress and can be cancelled.
    ASSERT_TRUE(waitFor(
        [&] { return statusIs(0, "Copying") && shown(0, Role::ProgressRole).toInt() > 0; }));
    EXPECT_TRUE(offers(0, true, false));
    EXPECT_FALSE(progressText(0).isEmpty());
    EXPECT_TRUE(progressText(0).endsWith(" of 4.29 GB")) << progressText(0).toStdString();
    EXPECT_TRUE(statusIs(1, "Queued"));
    EXPECT_TRUE(offers(1, true, false));
    EXPECT_TRUE(progressText(1).isEmpty());
    EXPECT_FALSE(view.clearButton()->isEnabled());

    // A queued job is cancelled at once and offers "Retry" instead.
    click(1, Button::Cancel);
    EXPECT_TRUE(statusIs(1, "Cancelled"));
    EXPECT_TRUE(offers(1, false, true));
    EXPECT_EQ(store.items()[1].status, TransferStatus::Cancelled);

    click(0, Button::Cancel);
    ASSERT_TRUE(waitFor([&] { return statusIs(0, "Cancelled"); }));
    EXPECT_TRUE(offers(0, false, true));
    EXPECT_TRUE(progressText(0).isEmpty());
    EXPECT_TRUE(errorText(0).isEmpty()); // cancelling is no failure

    // The next job ran meanwhile; a finished job offers nothing.
    ASSERT_TRUE(waitFor([&] { return statusIs(2, "Completed"); }));
    EXPECT_TRUE(offers(2, false, false));
    EXPECT_TRUE(view.clearButton()->isEnabled());

    click(1, Button::Retry);
    EXPECT_NE(store.items()[1].status, TransferStatus::Cancelled);
    ASSERT_TRUE(waitFor([&] { return statusIs(1, "Completed"); }));
    EXPECT_TRUE(QFile::exists(dest + "/small.txt"));
    EXPECT_EQ(view.shownCount(), 3);
}

TEST_F(TransfersViewTest, AFailureIsShownAndRetriedOnceItsCauseIsGone)
{
    const QString taken = tree.file("taken.txt", "new");
    const QString blocker = tree.file("dest/taken.txt", "old");
    store.enqueue({taken}, dest);
    ASSERT_TRUE(waitFor([&] { return statusIs(0, "Failed"); }));
    ASSERT_TRUE(store.items()[0].error.has_value());
    EXPECT_EQ(errorText(0), *store.items()[0].error);
    EXPECT_FALSE(errorText(0).isEmpty());
    EXPECT_TRUE(offers(0, false, true));
    // Only failed jobs: nothing to clear.
    EXPECT_FALSE(view.clearButton()->isEnabled());

    ASSERT_TRUE(QFile::remove(blocker));
    click(0, Button::Retry);
    ASSERT_TRUE(waitFor([&] { return statusIs(0, "Completed"); }));
    EXPECT_TRUE(errorText(0).isEmpty());
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
    ASSERT_EQ(view.shownCount(), 1);
    EXPECT_EQ(name(0), "alpha.txt");
    model->setQuery(QStringLiteral("gamma"));
    EXPECT_TRUE((view.shownCount() == 0));
    EXPECT_TRUE(view.showsNoMatch());
    EXPECT_FALSE(view.showsEmptyState());
    model->setQuery(QString());
    EXPECT_EQ(view.shownCount(), 3);
    EXPECT_FALSE(view.showsNoMatch());

    view.clearButton()->click();
    ASSERT_EQ(view.shownCount(), 1);
    EXPECT_EQ(name(0), "clash.txt");
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
    ASSERT_EQ(view.shownCount(), 1);
    EXPECT_EQ(name(0), "chosen.txt");
    EXPECT_EQ(shown(0, Role::DestinationRole).toString(), dest);
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
    ASSERT_TRUE(
        waitFor([&] { return statusIs(0, "Copying") && shown(0, Role::ProgressRole).toInt(); }));
    // What the running copy has still to write and the queued job's size, once measured.
    ASSERT_TRUE(waitFor([&] {
        const TransferItem& running = store.items()[0];
        return store.remainingBytes() == running.total - running.bytes + 5;
    }));
    EXPECT_TRUE(view.remainingText().startsWith(formatFileSize(store.remainingBytes()) + " left"))
        << view.remainingText().toStdString();
    EXPECT_EQ(TransferRowDelegate::buttonText(row(0), Button::Pause), "Pause");
    EXPECT_TRUE(offers(1, Button::Pause));

    click(0, Button::Pause);
    EXPECT_TRUE(store.items()[0].paused);
    EXPECT_TRUE(statusIs(0, "Paused"));
    EXPECT_EQ(TransferRowDelegate::buttonText(row(0), Button::Pause), "Resume");
    // A queued job can be held too; it is passed over until resumed.
    click(1, Button::Pause);
    EXPECT_TRUE(statusIs(1, "Paused"));
    EXPECT_EQ(store.items()[1].status, TransferStatus::Queued);
    click(0, Button::Pause);
    EXPECT_FALSE(store.items()[0].paused);
    EXPECT_TRUE(statusIs(0, "Copying"));
    EXPECT_EQ(TransferRowDelegate::buttonText(row(0), Button::Pause), "Pause");

    ASSERT_TRUE(view.pauseQueueButton()->isEnabled());
    EXPECT_EQ(view.pauseQueueButton()->text(), "Pause queue");
    view.pauseQueueButton()->click();
    EXPECT_TRUE(store.isQueuePaused());
    EXPECT_EQ(view.pauseQueueButton()->text(), "Resume queue");
    view.pauseQueueButton()->click();
    EXPECT_FALSE(store.isQueuePaused());
    EXPECT_EQ(view.pauseQueueButton()->text(), "Pause queue");

    // Once the long copy stops, the held job waits until resumed, then runs.
    click(0, Button::Cancel);
    ASSERT_TRUE(waitFor([&] { return statusIs(0, "Cancelled"); }));
    EXPECT_TRUE(statusIs(1, "Paused"));
    click(1, Button::Pause);
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

TEST_F(TransfersViewTest, LongQueuesAreOneListThatScrollsToTheirLastJob)
{
    QStringList sources;
    for (int i = 0; i < 150; ++i)
        sources << tree.file(QStringLiteral("many/%1.txt").arg(i), "m");
    // Held behind a long copy so that the list stays as it is.
    store.enqueue({largeFile("first.bin")}, dest);
    store.enqueue(sources, dest);
    view.resize(700, 600);
    QApplication::processEvents();
    EXPECT_EQ(view.shownCount(), 151);
    QListView* list = view.list();
    EXPECT_EQ(view.scrollBody(), list);
    QScrollBar* bar = list->verticalScrollBar();
    EXPECT_GT(bar->maximum(), 0);
    bar->setValue(bar->maximum());
    const QModelIndex last =
        list->indexAt(QPoint(list->viewport()->width() / 2, list->viewport()->height() - 20));
    EXPECT_EQ(last.row(), 150);
    EXPECT_EQ(name(last.row()), "149.txt");
}

TEST_F(TransfersViewTest, ProgressChangesItsOwnRowOnlyAndKeepsTheSelectionAndScroll)
{
    store.setQueuePaused(true);
    QStringList sources;
    for (int i = 0; i < 100; ++i)
        sources << tree.file(QStringLiteral("many/%1.txt").arg(i), "m");
    store.enqueue(sources, dest);
    view.resize(700, 600);
    QApplication::processEvents();
    QList<TransferItem> items = store.items();
    const QList<TransferItem> queued = items;
    items[40].status = TransferStatus::Copying;
    items[40].bytes = 100;
    items[40].total = 1000;
    store.setItems(items);
    ASSERT_TRUE(statusIs(40, "Copying"));

    QListView* list = view.list();
    list->setCurrentIndex(row(60));
    list->scrollTo(row(60), QAbstractItemView::PositionAtCenter);
    const int scrolled = list->verticalScrollBar()->value();
    ASSERT_GT(scrolled, 0);
    TransferListModel* transfers = view.transfers();
    QSignalSpy changed(transfers, &QAbstractItemModel::dataChanged);
    QSignalSpy reset(transfers, &QAbstractItemModel::modelReset);
    QSignalSpy inserted(transfers, &QAbstractItemModel::rowsInserted);
    QSignalSpy removed(transfers, &QAbstractItemModel::rowsRemoved);
    QSignalSpy moved(transfers, &QAbstractItemModel::rowsMoved);
    QSignalSpy layout(transfers, &QAbstractItemModel::layoutChanged);

    items[40].bytes = 600;
    store.setItems(items);
    ASSERT_EQ(changed.size(), 1);
    EXPECT_EQ(changed[0][0].toModelIndex(), row(40));
    EXPECT_EQ(changed[0][1].toModelIndex(), row(40));
    EXPECT_EQ(shown(40, Role::ProgressRole).toInt(), 600);
    EXPECT_TRUE(progressText(40).endsWith(" of " + formatFileSize(1000)));
    EXPECT_TRUE(reset.isEmpty());
    EXPECT_TRUE(inserted.isEmpty());
    EXPECT_TRUE(removed.isEmpty());
    EXPECT_TRUE(moved.isEmpty());
    EXPECT_TRUE(layout.isEmpty());
    EXPECT_EQ(list->currentIndex(), row(60));
    EXPECT_TRUE(list->selectionModel()->isRowSelected(60));
    EXPECT_EQ(list->verticalScrollBar()->value(), scrolled);

    // Moving a job moves its row; the others stay as they are.
    changed.clear();
    model->moveTransfer(store.items()[90].id, -1);
    EXPECT_EQ(moved.size(), 1);
    EXPECT_TRUE(reset.isEmpty());
    EXPECT_EQ(name(89), "90.txt");
    EXPECT_EQ(list->currentIndex(), row(60));
    store.setItems(queued);
}

TEST_F(TransfersViewTest, RowsKeepOneHeightWhateverTheirStatus)
{
    const QString source = tree.file("same.txt", "s");
    store.setItems({TransferItem(source, dest),
                    TransferItem(source, dest, TransferStatus::Copying, 400, 1000),
                    TransferItem(source, dest, TransferStatus::Completed, 1000, 1000),
                    TransferItem(source, dest, TransferStatus::Failed, 0, 1000,
                                 QStringLiteral("Permission denied while writing the copy into a "
                                                "folder whose name goes on for a very long time")),
                    TransferItem(source, dest, TransferStatus::Cancelled)});
    ASSERT_EQ(view.shownCount(), 5);
    QStyleOptionViewItem option;
    option.initFrom(view.list());
    QList<int> heights;
    for (int i = 0; i < 5; ++i) {
        heights << view.rowDelegate()->sizeHint(option, row(i)).height();
        EXPECT_EQ(view.list()->visualRect(row(i)).height(), heights.last());
    }
    for (int height : heights)
        EXPECT_EQ(height, heights.first());
    EXPECT_GT(heights.first(), 2 * QFontMetrics(view.font()).height());
    store.setItems({});
}

TEST_F(TransfersViewTest, TheKeysPickAndPressARowsButtonsAndOpenItsMenu)
{
    store.setQueuePaused(true);
    store.enqueue({tree.file("a.txt", "a"), tree.file("b.txt", "b")}, dest);
    QListView* list = view.list();
    list->setFocus();
    list->setCurrentIndex(row(1));
    TransferRowDelegate* delegate = view.rowDelegate();
    EXPECT_EQ(delegate->focusedButton(), Button::Pause);
    QTest::keyClick(list, Qt::Key_Right);
    EXPECT_EQ(delegate->focusedButton(), Button::Cancel);
    QTest::keyClick(list, Qt::Key_Space);
    EXPECT_TRUE(statusIs(1, "Cancelled"));
    // Cancel is gone; the row's first button is picked again.
    EXPECT_EQ(delegate->focusedButton(), Button::Retry);
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_TRUE(statusIs(1, "Queued"));
    QTest::keyClick(list, Qt::Key_Up);
    EXPECT_EQ(list->currentIndex(), row(0));
    QTest::keyClick(list, Qt::Key_Right);
    QTest::keyClick(list, Qt::Key_Right);
    QTest::keyClick(list, Qt::Key_Right);
    EXPECT_EQ(delegate->focusedButton(), Button::More);
    QTest::keyClick(list, Qt::Key_Space);
    ASSERT_TRUE(delegate->openMenu());
    EXPECT_TRUE(delegate->openMenu()->isVisible());
    EXPECT_FALSE(action(delegate->openMenu(), "Move Up")->isEnabled());
    EXPECT_TRUE(action(delegate->openMenu(), "Move Down")->isEnabled());
    delegate->openMenu()->close();

    // The menu key opens the current row's menu too.
    QContextMenuEvent key(QContextMenuEvent::Keyboard, QPoint(), list->mapToGlobal(QPoint()));
    QApplication::sendEvent(list, &key);
    ASSERT_TRUE(delegate->openMenu());
    EXPECT_TRUE(delegate->openMenu()->isVisible());
    action(delegate->openMenu(), "Move Down")->trigger();
    delegate->openMenu()->close();
    EXPECT_EQ(name(0), "b.txt");
}

TEST_F(TransfersViewTest, ButtonsLookHoveredAndPressedUnderTheMouse)
{
    store.setQueuePaused(true);
    store.enqueue({tree.file("a.txt", "a")}, dest);
    QWidget* viewport = view.list()->viewport();
    const QRect cancel = view.rowDelegate()->buttonRect(row(0), Button::Cancel);
    ASSERT_FALSE(cancel.isEmpty());
    const auto look = [&] { return viewport->grab(cancel).toImage(); };
    // Straight to the viewport: the offscreen cursor lands elsewhere.
    const auto moveTo = [&](QPoint at) {
        QMouseEvent move(QEvent::MouseMove, at, viewport->mapToGlobal(at), Qt::NoButton,
                         QApplication::mouseButtons(), {});
        QApplication::sendEvent(viewport, &move);
    };
    const QImage still = look();
    moveTo(cancel.center());
    const QImage hovered = look();
    EXPECT_NE(still, hovered);
    QTest::mousePress(viewport, Qt::LeftButton, {}, cancel.center());
    const QImage pressed = look();
    EXPECT_NE(hovered, pressed);
    EXPECT_TRUE(statusIs(0, "Queued")); // a press alone does nothing
    // Let go elsewhere: no click.
    moveTo(cancel.center() + QPoint(0, 60));
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, cancel.center() + QPoint(0, 60));
    EXPECT_TRUE(statusIs(0, "Queued"));
    EXPECT_EQ(look(), still);
    // The "More" button names itself in its tooltip.
    const QRect more = view.rowDelegate()->buttonRect(row(0), Button::More);
    QHelpEvent tip(QEvent::ToolTip, more.center(), viewport->mapToGlobal(more.center()));
    QApplication::sendEvent(viewport, &tip);
    EXPECT_EQ(QToolTip::text(), "More");
    QToolTip::hideText();
    // A right click opens the row's menu.
    QContextMenuEvent right(QContextMenuEvent::Mouse, cancel.center(),
                            viewport->mapToGlobal(cancel.center()));
    QApplication::sendEvent(viewport, &right);
    ASSERT_TRUE(view.rowDelegate()->openMenu());
    EXPECT_TRUE(action(view.rowDelegate()->openMenu(), "Show in File Manager"));
    view.rowDelegate()->openMenu()->close();
}

TEST_F(TransfersViewTest, LooksRightInBothAppearances)
{
    tree.file("dest/clash.txt", "old");
    store.enqueue({tree.file("holiday.mov", QByteArray(40000, 'v')), tree.file("clash.txt", "c"),
                   tree.file("notes.txt", "n")},
                  dest);
    ASSERT_TRUE(waitFor([&] { return !store.activeID(); }));
    store.enqueue({largeFile("archive.bin"), tree.file("queued.txt", "q")}, dest);
    ASSERT_TRUE(
        waitFor([&] { return statusIs(3, "Copying") && view.transfers()->item(3).bytes > 0; }));
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
    ASSERT_EQ(view.shownCount(), 3);
    const auto names = [&] {
        QStringList shown;
        for (int i = 0; i < view.shownCount(); ++i)
            shown << name(i);
        return shown.join(u',');
    };
    EXPECT_FALSE(menuOffers(0, "Move Up"));
    EXPECT_TRUE(menuOffers(0, "Move Down"));
    EXPECT_TRUE(menuOffers(2, "Move Up"));
    EXPECT_FALSE(menuOffers(2, "Move Down"));

    trigger(2, "Move Up");
    EXPECT_EQ(names(), "a.txt,c.txt,b.txt");
    trigger(0, "Move Down");
    EXPECT_EQ(names(), "c.txt,a.txt,b.txt");
    EXPECT_FALSE(menuOffers(0, "Move Up"));
    EXPECT_TRUE(menuOffers(1, "Move Up"));

    // They run in the order shown; finished jobs have no place to move to.
    QStringList ran;
    QObject::connect(&store, &TransferStore::itemFinished, &view,
                     [&](const TransferItem& item) { ran << item.name(); });
    store.setQueuePaused(false);
    ASSERT_TRUE(waitFor([&] { return ran.size() == 3; }));
    EXPECT_EQ(ran.join(u','), "c.txt,a.txt,b.txt");
    for (int i = 0; i < 3; ++i) {
        EXPECT_FALSE(menuOffers(i, "Move Up"));
        EXPECT_FALSE(menuOffers(i, "Move Down"));
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
    trigger(0, "Show in File Manager");
    trigger(1, "Show in File Manager");
    const QList<QDBusMessage> calls = fileManager.calls();
    ASSERT_EQ(calls.size(), 2);
    EXPECT_EQ(calls[0].interface(), "org.freedesktop.FileManager1");
    EXPECT_EQ(calls[0].member(), "ShowItems");
    EXPECT_EQ(calls[0].arguments().value(0).toStringList(),
              QStringList{urlForPath(dest + "/shown.txt").toString()});
    EXPECT_EQ(calls[1].arguments().value(0).toStringList(),
              QStringList{urlForPath(tree.path("missing.txt")).toString()});
}
