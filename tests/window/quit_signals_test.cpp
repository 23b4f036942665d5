// A quit signal ends the window as closing it does: copies stopped, nothing
// half-written left behind, the event loop ended with status 0.
#include "held_copies.h"
#include "test_support.h"
#include "window/quit_signals.h"
#include "window/window_fixture.h"

#include <QCoreApplication>
#include <QDir>
#include <QSignalSpy>
#include <QTimer>
#include <algorithm>
#include <csignal>
#include <unistd.h>

namespace {

class QuitSignalsTest : public WindowTest, public ::testing::WithParamInterface<int> {
protected:
    void SetUp() override
    {
        copyEngine = std::make_shared<HeldCopies>();
        WindowTest::SetUp();
    }

    // The handler in place for `signal` right now.
    static void (*handlerOf(int signal))(int)
    {
        struct sigaction current {};
        ::sigaction(signal, nullptr, &current);
        return current.sa_handler;
    }

    TempTree tree;
};

TEST_P(QuitSignalsTest, StopsEveryCopyLeavesNoPartialCopyAndEndsTheLoopCleanly)
{
    const int signal = GetParam();
    QStringList sources;
    for (const char* name : {"one.bin", "two.bin", "three.bin"})
        sources << tree.file(QStringLiteral("from/") + name, QByteArray(300000, 'q'));
    const QString destination = tree.folder("to");
    const QList<TransferItem>& transfers = router->transferStore().items();

    const auto before = handlerOf(signal);
    auto quitSignals = std::make_unique<QuitSignals>(*router);
    EXPECT_NE(handlerOf(signal), before);
    QSignalSpy received(quitSignals.get(), &QuitSignals::received);
    router->transferStore().enqueue(sources, destination);
    ASSERT_TRUE(waitFor([&] {
        return transfers.size() == 3 && transfers[0].status == TransferStatus::Copying &&
               !partialCopiesIn(destination).isEmpty();
    }));
    EXPECT_EQ(transfers[1].status, TransferStatus::Queued);

    ASSERT_EQ(::kill(::getpid(), signal), 0);
    // Only there so that a handler that never ends the loop fails the test.
    QTimer safetyNet;
    safetyNet.setSingleShot(true);
    QObject::connect(&safetyNet, &QTimer::timeout, [] { QCoreApplication::exit(3); });
    safetyNet.start(60000);
    EXPECT_EQ(QCoreApplication::exec(), 0);
    ASSERT_EQ(received.size(), 1);
    EXPECT_EQ(received.at(0).at(0).toInt(), signal);

    EXPECT_TRUE(waitFor([&] {
        return std::all_of(transfers.cbegin(), transfers.cend(), [](const TransferItem& item) {
            return item.status == TransferStatus::Cancelled;
        });
    }));
    EXPECT_TRUE(partialCopiesIn(destination).isEmpty());
    EXPECT_TRUE(
        QDir(destination)
            .isEmpty(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot));
    EXPECT_EQ(QDir(tree.path("from")).entryList(QDir::Files).size(), 3);

    // Gone, it gives the signal back to whoever had it.
    quitSignals.reset();
    EXPECT_EQ(handlerOf(signal), before);
}

INSTANTIATE_TEST_SUITE_P(Signals, QuitSignalsTest, ::testing::Values(SIGTERM, SIGINT, SIGHUP),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return std::string(info.param == SIGTERM  ? "Terminate"
                                                : info.param == SIGINT ? "Interrupt"
                                                                       : "HangUp");
                         });

} // namespace
