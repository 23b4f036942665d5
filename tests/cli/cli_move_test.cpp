#include "cli_runner.h"
#include "temporary_trash.h"
#include "test_support.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

namespace {

QJsonObject json(const CliRun& run)
{
    return QJsonDocument::fromJson(run.out).object();
}

} // namespace

TEST(CliConflicts, CopyTakesAnAnswerForTakenNames)
{
    temporaryTrash(); // the child process inherits the trash's place
    TempTree tree;
    const QString source = tree.file("src/report.pdf", "new");
    const QString dest = tree.folder("dest");
    tree.file("dest/report.pdf", "old");

    CliRun run = cli({"copy", source, dest});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.err.contains("already exists")) << run.err.toStdString();

    run = cli({"copy", source, dest, "--on-conflict=skip"});
    EXPECT_EQ(run.status, 0);
    EXPECT_TRUE(run.out.isEmpty());
    EXPECT_TRUE(run.err.contains("skipped")) << run.err.toStdString();
    EXPECT_EQ(entriesOf(dest), QStringList{"report.pdf"});

    run = cli({"copy", source, dest, "--on-conflict", "keep-both"});
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(run.out.trimmed(), (dest + "/report (2).pdf").toUtf8());

    run = cli({"copy", source, dest, "--on-conflict=replace", "--json"});
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    const QJsonObject item = json(run)["items"].toArray()[0].toObject();
    EXPECT_EQ(item["status"].toString(), "Completed");
    const QJsonObject placed = item["placed"].toArray()[0].toObject();
    EXPECT_EQ(placed["to"].toString(), dest + "/report.pdf");
    EXPECT_EQ(contentsOf(dest + "/report.pdf"), "new");
    EXPECT_EQ(contentsOf(placed["replacedInTrash"].toString()), "old");
    EXPECT_TRUE(placed["sourceInTrash"].isNull());

    run = cli({"copy", source, dest, "--on-conflict=merge"});
    EXPECT_EQ(run.status, 2);
    EXPECT_TRUE(run.err.contains("keep-both")) << run.err.toStdString();
}

TEST(CliConflicts, MoveRenamesAndReportsWhereItemsWent)
{
    temporaryTrash();
    TempTree tree;
    const QString one = tree.file("src/one.txt", "1");
    const QString two = tree.file("src/two.txt", "2");
    const QString dest = tree.folder("dest");
    tree.file("dest/two.txt", "old 2");

    CliRun run = cli({"move", one, two, dest});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out.trimmed(), (dest + "/one.txt").toUtf8());
    EXPECT_FALSE(QFile::exists(one));
    EXPECT_EQ(contentsOf(two), "2") << "a taken name leaves the source where it was";

    run = cli({"move", two, dest, "--on-conflict=keep-both", "--json"});
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    const QJsonObject item = json(run)["items"].toArray()[0].toObject();
    const QJsonObject placed = item["placed"].toArray()[0].toObject();
    EXPECT_EQ(placed["from"].toString(), two);
    EXPECT_EQ(placed["to"].toString(), dest + "/two (2).txt");
    EXPECT_EQ(entriesOf(tree.path("src")), QStringList{});

    const CliRun help = cli({"--help"});
    EXPECT_TRUE(help.out.contains("move SRC")) << help.out.toStdString();
    EXPECT_TRUE(help.out.contains("--on-conflict=skip|keep-both|replace"));
    EXPECT_EQ(cli({"move", dest}).status, 2);
}
