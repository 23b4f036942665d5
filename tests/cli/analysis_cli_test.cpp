#include "cli_runner.h"
#include "test_support.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSet>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

QJsonObject json(const CliRun& run)
{
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    return QJsonDocument::fromJson(run.out).object();
}

QStringList field(const QJsonArray& array, const QString& name)
{
    QStringList values;
    for (const auto& item : array)
        values.append(item.toObject()[name].toString());
    return values;
}

} // namespace

TEST(AnalysisCli, DuplicatesAcrossFoldersWithWastedBytes)
{
    TempTree tree;
    const QString a = tree.file("one/a.txt", "same text");
    const QString b = tree.file("two/b.txt", "same text");
    tree.file("two/c.txt", "diff text");
    const QString big1 = tree.file("one/big", QByteArray(20000, 'b'));
    const QString big2 = tree.file("two/big", QByteArray(20000, 'b'));
    const QString big3 = tree.path("two/big-link");
    ASSERT_EQ(::link(big2.toUtf8().constData(), big3.toUtf8().constData()), 0);

    // Overlapping folders list each file once.
    const QJsonObject report =
        json(cli({"duplicates", tree.path("one"), tree.path("two"), tree.path("two"), "--json"}));
    const QJsonArray groups = report["groups"].toArray();
    ASSERT_EQ(groups.size(), 2);
    EXPECT_EQ(groups[0].toObject()["size"].toInteger(), 20000);
    // The hard link is the same file: only big1 or big2 can be won back.
    EXPECT_EQ(groups[0].toObject()["wasted"].toInteger(), 20000);
    const QJsonObject sameFile = groups[0].toObject()["sameFileAs"].toObject();
    ASSERT_EQ(sameFile.size(), 1);
    EXPECT_NE(sameFile.keys().first(), sameFile.begin()->toString());
    EXPECT_TRUE(QSet<QString>({big2, big3}).contains(sameFile.keys().first()));
    EXPECT_TRUE(QSet<QString>({big2, big3}).contains(sameFile.begin()->toString()));
    EXPECT_TRUE(groups[1].toObject()["sameFileAs"].toObject().isEmpty());
    QStringList bigPaths = field(groups[0].toObject()["files"].toArray(), "path");
    bigPaths.sort();
    EXPECT_EQ(bigPaths, QStringList({big1, big2, big3}));
    EXPECT_EQ(field(groups[1].toObject()["files"].toArray(), "path"), QStringList({a, b}));
    EXPECT_EQ(report["wasted"].toInteger(), 20009);
    EXPECT_EQ(report["skipped"].toInteger(), 0);

    const CliRun plain = cli({"duplicates", tree.root()});
    EXPECT_TRUE(plain.out.contains("Groups:   2")) << plain.out.toStdString();
    EXPECT_TRUE(plain.out.contains("(same file as ")) << plain.out.toStdString();
    EXPECT_TRUE(plain.err.isEmpty());
    EXPECT_EQ(cli({"duplicates", tree.path("missing")}).status, 1);
}

TEST(AnalysisCli, TreeAndLargest)
{
    TempTree tree;
    tree.file("docs/x.pdf", QByteArray(300, 'x'));
    tree.file("docs/deep/y.pdf", QByteArray(200, 'y'));
    tree.file("top.jpg", QByteArray(400, 'z'));
    tree.file("small.txt", "1");

    const QJsonObject root = json(cli({"tree", tree.root(), "--depth", "2", "--json"}));
    EXPECT_EQ(root["bytes"].toInteger(), 901);
    EXPECT_EQ(root["fileCount"].toInteger(), 4);
    const QJsonArray children = root["children"].toArray();
    EXPECT_EQ(field(children, "name"), QStringList({"docs", "top.jpg", "small.txt"}));
    const QJsonObject docs = children[0].toObject();
    EXPECT_EQ(docs["bytes"].toInteger(), 500);
    EXPECT_EQ(field(docs["children"].toArray(), "name"), QStringList({"x.pdf", "deep"}));
    // Depth 2 stops above the files of docs/deep.
    EXPECT_FALSE(docs["children"].toArray()[1].toObject().contains("children"));
    EXPECT_EQ(cli({"tree", tree.root(), "--depth", "-1"}).status, 2);

    const QJsonObject largest = json(cli({"large", tree.root(), "--limit", "2", "--json"}));
    EXPECT_EQ(field(largest["files"].toArray(), "name"), QStringList({"top.jpg", "x.pdf"}));
}

TEST(AnalysisCli, FilterTakesTheExactTitles)
{
    TempTree tree;
    tree.file("photos/b.JPG", QByteArray(50, 'b'));
    tree.file("photos/a.jpg", QByteArray(90, 'a'));
    tree.file("photos/c.png", QByteArray(70, 'c'));
    tree.file("notes/Holiday photo list.txt", "x");

    const QJsonObject images = json(cli({"filter", tree.root(), "--kind", "image", "--sort",
                                         "Largest first", "--size", "Under 10 MB", "--json"}));
    EXPECT_EQ(field(images["files"].toArray(), "name"), QStringList({"a.jpg", "c.png", "b.JPG"}));
    QStringList formats;
    for (const auto& format : images["formats"].toArray())
        formats.append(format.toString());
    EXPECT_EQ(formats, QStringList({"All formats", "JPG", "PNG"}));
    EXPECT_EQ(images["totalBytes"].toInteger(), 210);

    const QJsonObject jpg =
        json(cli({"filter", tree.root(), "--format", "JPG", "--sort", "Name", "--json"}));
    EXPECT_EQ(field(jpg["files"].toArray(), "name"), QStringList({"a.jpg", "b.JPG"}));
    const QJsonObject searched = json(cli({"filter", tree.root(), "--query", "PHOTO", "--json"}));
    EXPECT_EQ(field(searched["files"].toArray(), "name"), QStringList{"Holiday photo list.txt"});
    const QJsonObject medium =
        json(cli({"filter", tree.root(), "--size", u"10\u2013100 MB"_qs, "--json"}));
    EXPECT_TRUE(medium["files"].toArray().isEmpty());
    // Properties are not read on the command line, so a property filter keeps nothing.
    const QJsonObject wide =
        json(cli({"filter", tree.root(), "--orientation", "Landscape", "--json"}));
    EXPECT_TRUE(wide["files"].toArray().isEmpty());

    const CliRun hyphen = cli({"filter", tree.root(), "--size", "10-100 MB"});
    EXPECT_EQ(hyphen.status, 2);
    EXPECT_TRUE(hyphen.err.contains("\u201C10\u2013100 MB\u201D")) << hyphen.err.toStdString();
    EXPECT_EQ(cli({"filter", tree.root(), "--kind", "picture"}).status, 2);
}
