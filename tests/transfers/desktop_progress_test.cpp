// The queue as the desktop sees it: the launcher's progress and count, and
// the notification when a queue ends while Quorvane is not the window in use.
// Each test runs its own session bus, with stand-ins for the desktop's side.
#include "dbus_signal_recorder.h"
#include "fake_dbus_service.h"
#include "private_session_bus.h"
#include "test_support.h"
#include "transfer_store.h"
#include "transfers/launcher_progress.h"
#include "transfers/queue_finished_notice.h"
#include "workspace/workspace_wait.h"

#include <QDBusArgument>
#include <gtest/gtest.h>

namespace {

QVariantMap propertiesOf(const QDBusMessage& update)
{
    const QVariant properties = update.arguments().value(1);
    if (properties.canConvert<QDBusArgument>())
        return qdbus_cast<QVariantMap>(properties.value<QDBusArgument>());
    return properties.toMap();
}

} // namespace

TEST(DesktopProgress, TheLauncherHearsTheQueuesProgressAndCountUntilItIsDone)
{
    PrivateSessionBus bus;
    if (!bus.failure().isEmpty()) GTEST_SKIP() << bus.failure().toStdString();
    DBusSignalRecorder launcher(QStringLiteral("com.canonical.Unity.LauncherEntry"),
                                QStringLiteral("Update"));
    ASSERT_TRUE(launcher.listening());
    TempTree tree;
    const QString dest = tree.folder("dest");
    TransferStore store;
    LauncherProgress progress(store);

    store.setQueuePaused(true);
    store.enqueue({tree.file("a.txt", "a"), tree.file("b.txt", "b"), tree.file("c.txt", "c")},
                  dest);
    ASSERT_TRUE(waitFor([&] { return !launcher.received().isEmpty(); }));
    const QDBusMessage waiting = launcher.received().constLast();
    EXPECT_EQ(waiting.path(), LauncherProgress::path);
    EXPECT_EQ(waiting.arguments().value(0).toString(), LauncherProgress::appUri);
    QVariantMap shown = propertiesOf(waiting);
    EXPECT_EQ(shown.value("count").toLongLong(), 3);
    EXPECT_TRUE(shown.value("count-visible").toBool());
    EXPECT_TRUE(shown.value("progress-visible").toBool());
    EXPECT_EQ(shown.value("progress").toDouble(), 0.0);

    store.setQueuePaused(false);
    ASSERT_TRUE(waitFor([&] {
        return !launcher.received().isEmpty() &&
               propertiesOf(launcher.received().constLast()).value("count").toLongLong() == 0;
    }));
    shown = propertiesOf(launcher.received().constLast());
    EXPECT_FALSE(shown.value("progress-visible").toBool());
    EXPECT_FALSE(shown.value("count-visible").toBool());
    EXPECT_TRUE(QFile::exists(dest + "/c.txt"));
}

TEST(DesktopProgress, AQueueThatEndsWhileTheWindowIsNotInUseIsAnnounced)
{
    PrivateSessionBus bus;
    if (!bus.failure().isEmpty()) GTEST_SKIP() << bus.failure().toStdString();
    FakeDBusService notifications(QStringLiteral("org.freedesktop.Notifications"),
                                  QStringLiteral("/org/freedesktop/Notifications"), {uint(7)});
    ASSERT_TRUE(notifications.registered());
    TempTree tree;
    const QString dest = tree.folder("dest");
    TransferStore store;
    bool active = true;
    // Any queue counts as long here.
    QueueFinishedNotice notice(
        store, [&] { return active; }, 0);

    // In use: nothing to announce.
    store.enqueue({tree.file("seen.txt", "s")}, dest);
    ASSERT_TRUE(waitFor([&] { return QFile::exists(dest + "/seen.txt"); }));
    ASSERT_TRUE(waitFor([&] { return store.items()[0].status == TransferStatus::Completed; }));

    active = false;
    store.enqueue({tree.file("a.txt", "a"), tree.file("b.txt", "b"), tree.path("gone.txt")}, dest);
    ASSERT_TRUE(waitFor([&] { return notifications.calls().size() == 1; }));
    const QDBusMessage call = notifications.calls()[0];
    EXPECT_EQ(call.member(), "Notify");
    const QVariantList arguments = call.arguments();
    ASSERT_EQ(arguments.size(), 8);
    EXPECT_EQ(arguments[0].toString(), "Quorvane");
    EXPECT_EQ(arguments[3].toString(), "Transfers finished");
    EXPECT_EQ(arguments[4].toString(), "2 items copied, 1 failed");
    EXPECT_EQ(QueueFinishedNotice::summaryOf(1, 0), "1 item copied");
    EXPECT_EQ(notifications.calls().size(), 1);
}
