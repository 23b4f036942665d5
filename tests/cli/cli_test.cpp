#include "cli_runner.h"
#include "test_support.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <csignal>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

QJsonObject json(const CliRun& run)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(run.out, &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << run.out.toStdString();
    return document.object();
}

} // namespace

TEST(Cli, ListAndScanAsJson)
{
    TempTree tree;
    tree.file(QStringLiteral("b.png"), "12");
    tree.file(QStringLiteral("a \"quoted\"\tname.txt"), "x");
    tree.file(QStringLiteral("sub/c.mp3"), "123");

    const CliRun list = cli({QStringLiteral("list"), tree.root(), QStringLiteral("--json")});
    ASSERT_EQ(list.status, 0) << list.err.toStdString();
    const QJsonArray entries = json(list)[QStringLiteral("entries")].toArray();
    ASSERT_EQ(entries.size(), 3);
    const QJsonObject folder = entries[0].toObject();
    EXPECT_EQ(folder[QStringLiteral("name")].toString(), QStringLiteral("sub"));
    EXPECT_TRUE(folder[QStringLiteral("isDirectory")].toBool());
    EXPECT_EQ(folder.keys(),
              (QStringList{"isDirectory", "mediaKind", "modified", "name", "path", "size"}));
    const QJsonObject quoted = entries[1].toObject();
    EXPECT_EQ(quoted[QStringLiteral("name")].toString(), QStringLiteral("a \"quoted\"\tname.txt"));
    EXPECT_EQ(quoted[QStringLiteral("mediaKind")].toString(), QStringLiteral("document"));
    const QDateTime modified =
        QDateTime::fromString(quoted[QStringLiteral("modified")].toString(), Qt::ISODateWithMs);
    EXPECT_TRUE(modified.isValid());
    EXPECT_LE(qAbs(modified.secsTo(QDateTime::currentDateTimeUtc())), 60);

    const CliRun scan = cli({QStringLiteral("scan"), tree.root(), QStringLiteral("--json")});
    ASSERT_EQ(scan.status, 0);
    const QJsonObject report = json(scan);
    EXPECT_EQ(report[QStringLiteral("files")].toArray().size(), 3);
    EXPECT_EQ(report[QStringLiteral("total")].toInteger(), 6);
    EXPECT_EQ(report[QStringLiteral("inaccessible")].toInteger(), 0);

    const CliRun plain = cli({QStringLiteral("scan"), tree.root()});
    EXPECT_TRUE(plain.out.contains("6 bytes")) << plain.out.toStdString();
    // No progress line when stderr is not a terminal.
    EXPECT_TRUE(plain.err.isEmpty());
}

TEST(Cli, ActionsErrorsAndUsage)
{
    TempTree tree;
    tree.file(QStringLiteral("item.txt"), "x");
    const QString dest = tree.folder(QStringLiteral("dest"));

    CliRun run = cli({QStringLiteral("mkdir"), tree.root(), QStringLiteral("..")});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.err.startsWith("quorvane-cli: ")) << run.err.toStdString();
    EXPECT_EQ(run.err.count('\n'), 1);

    run = cli({QStringLiteral("copy"), tree.path(QStringLiteral("item.txt")), dest,
               QStringLiteral("--json")});
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    run = cli({QStringLiteral("copy"), tree.path(QStringLiteral("item.txt")), dest});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.err.contains("already exists"));

    run = cli({QStringLiteral("rename"), tree.path(QStringLiteral("item.txt")),
               QStringLiteral("renamed.txt"), QStringLiteral("--json")});
    EXPECT_EQ(json(run)[QStringLiteral("path")].toString(),
              tree.path(QStringLiteral("renamed.txt")));

    run = cli({QStringLiteral("classify"), QStringLiteral("JPG"), QStringLiteral("numbers"),
               QStringLiteral("--json")});
    const QJsonArray kinds = json(run)[QStringLiteral("kinds")].toArray();
    ASSERT_EQ(kinds.size(), 2);
    EXPECT_EQ(kinds[0].toObject()[QStringLiteral("mediaKind")].toString(), QStringLiteral("image"));
    EXPECT_EQ(kinds[1].toObject()[QStringLiteral("mediaKind")].toString(),
              QStringLiteral("document"));

    EXPECT_EQ(cli({QStringLiteral("list")}).status, 2);
    EXPECT_EQ(cli({QStringLiteral("list"), tree.root(), QStringLiteral("--bogus")}).status, 2);
    EXPECT_EQ(cli({QStringLiteral("frobnicate")}).status, 2);
    EXPECT_EQ(cli({QStringLiteral("list"), tree.path(QStringLiteral("missing"))}).status, 1);
    const CliRun help = cli({QStringLiteral("--help")});
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(help.out.contains("scan"));
}

TEST(Cli, CopiesSeveralSourcesAndListsEachFailure)
{
    TempTree tree;
    tree.file(QStringLiteral("one.txt"), "1");
    tree.file(QStringLiteral("album/two.txt"), "22");
    const QString dest = tree.folder(QStringLiteral("dest"));
    tree.file(QStringLiteral("dest/taken.txt"), "old");
    tree.file(QStringLiteral("taken.txt"), "new");

    CliRun run = cli({QStringLiteral("copy"), tree.path(QStringLiteral("one.txt")),
                      tree.path(QStringLiteral("taken.txt")), tree.path(QStringLiteral("missing")),
                      tree.path(QStringLiteral("album")), dest, QStringLiteral("--json")});
    EXPECT_EQ(run.status, 1);
    const QJsonArray items = json(run)[QStringLiteral("items")].toArray();
    ASSERT_EQ(items.size(), 4);
    QStringList statuses;
    for (const QJsonValue& item : items)
        statuses.append(item[QStringLiteral("status")].toString());
    EXPECT_EQ(statuses, (QStringList{"Completed", "Failed", "Failed", "Completed"}));
    EXPECT_EQ(items[3][QStringLiteral("total")].toInteger(), 2);
    EXPECT_TRUE(items[0][QStringLiteral("error")].isNull());
    EXPECT_EQ(items[1][QStringLiteral("destination")].toString(), dest);
    EXPECT_TRUE(items[1][QStringLiteral("error")].toString().contains("already exists"));
    // Each failure on its own line of stderr.
    EXPECT_EQ(run.err.count('\n'), 2) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains("missing"));
    EXPECT_TRUE(QFile::exists(dest + QStringLiteral("/album/two.txt")));

    run = cli({QStringLiteral("copy"), tree.path(QStringLiteral("album")), dest});
    EXPECT_EQ(run.status, 1);
    run = cli({QStringLiteral("copy"), tree.path(QStringLiteral("one.txt")),
               tree.folder(QStringLiteral("other"))});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out.trimmed(), (tree.path(QStringLiteral("other/one.txt"))).toUtf8());
    EXPECT_EQ(cli({QStringLiteral("copy"), dest}).status, 2);
}

namespace {

class CliStopSignal : public ::testing::TestWithParam<int> {};

// A quit signal during a copy stops it as Ctrl-C does: status 130, nothing
// half-copied left in the destination, the source as it was.
TEST_P(CliStopSignal, StopsTheCopyAndLeavesNoPartialCopy)
{
    TempTree tree;
    // Enough files that the copy is still running when the signal comes.
    constexpr int kFiles = 5000;
    for (int i = 0; i < kFiles; ++i)
        tree.file(QStringLiteral("album/%1.txt").arg(i), QByteArray::number(i));
    const QString dest = tree.folder(QStringLiteral("dest"));

    QProcess process;
    process.start(QStringLiteral(QUORVANE_CLI_PATH),
                  {QStringLiteral("copy"), tree.path(QStringLiteral("album")), dest});
    ASSERT_TRUE(process.waitForStarted());
    while (process.state() == QProcess::Running && partialCopiesIn(dest).isEmpty())
        ::usleep(200);
    ASSERT_FALSE(partialCopiesIn(dest).isEmpty()) << "the copy ended before it was seen";
    ASSERT_EQ(::kill(pid_t(process.processId()), GetParam()), 0);
    ASSERT_TRUE(process.waitForFinished(120000));

    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 130);
    EXPECT_TRUE(process.readAllStandardError().contains("cancelled"));
    EXPECT_EQ(entriesOf(dest), QStringList());
    EXPECT_EQ(entriesOf(tree.path(QStringLiteral("album"))).size(), kFiles);
}

INSTANTIATE_TEST_SUITE_P(Signals, CliStopSignal, ::testing::Values(SIGINT, SIGTERM, SIGHUP),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return std::string(info.param == SIGINT    ? "Interrupt"
                                                : info.param == SIGTERM ? "Terminate"
                                                                        : "HangUp");
                         });

} // namespace
