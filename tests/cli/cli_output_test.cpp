#include "cli_runner.h"
#include "file_error.h"
#include "native_path.h"
#include "test_support.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>
#include <QSet>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QJsonObject parsed(const QByteArray& text)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(text, &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << text.toStdString();
    return document.object();
}

void writeRaw(const QByteArray& path, const QByteArray& contents)
{
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL, 0644);
    ASSERT_GE(fd, 0) << path.toHex().constData();
    ASSERT_EQ(::write(fd, contents.constData(), size_t(contents.size())), ssize_t(contents.size()));
    ::close(fd);
}

bool exists(const QByteArray& path)
{
    struct stat st;
    return ::lstat(path.constData(), &st) == 0;
}

// Removes a tree holding names Qt can't spell.
struct RemovedAtEnd {
    QString root;
    ~RemovedAtEnd() { QProcess::execute(QStringLiteral("rm"), {QStringLiteral("-rf"), root}); }
};

} // namespace

TEST(CliNames, HardLinksWithNamesThatAreNotUtf8KeepTheirExactBytes)
{
    TempTree tree;
    const QByteArray root = nativePath(tree.root());
    // Two files, each with a hard link; all four names read "aU+FFFD" as text.
    writeRaw(root + "/a\xff", "same contents");
    writeRaw(root + "/a\xfd", "same contents");
    ASSERT_EQ(::link(root + "/a\xff", root + "/a\xfe"), 0);
    ASSERT_EQ(::link(root + "/a\xfd", root + "/a\xfc"), 0);

    const CliRun run = cliBytes({"duplicates", root, "--json"});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    const QJsonArray groups = parsed(run.out)[QStringLiteral("groups")].toArray();
    ASSERT_EQ(groups.size(), 1);
    const QJsonObject native = groups[0].toObject()[QStringLiteral("nativeSameFileAs")].toObject();
    QMap<QByteArray, QByteArray> links;
    for (auto link = native.begin(); link != native.end(); ++link)
        links.insert(QByteArray::fromPercentEncoding(link.key().toLatin1()),
                     QByteArray::fromPercentEncoding(link->toString().toLatin1()));
    ASSERT_EQ(links.size(), 2) << run.out.toStdString();
    // Each link names the other name of its own file.
    for (auto link = links.begin(); link != links.end(); ++link) {
        const QSet<QByteArray> pair{link.key(), link.value()};
        EXPECT_TRUE(pair == QSet<QByteArray>({root + "/a\xff", root + "/a\xfe"}) ||
                    pair == QSet<QByteArray>({root + "/a\xfd", root + "/a\xfc"}))
            << link.key().toHex().constData() << " " << link.value().toHex().constData();
    }

    // Names that are text need no native map.
    tree.file("t/b", "other");
    ASSERT_EQ(::link(nativePath(tree.path("t/b")), nativePath(tree.path("t/c"))), 0);
    const QJsonObject plain =
        parsed(cliBytes({"duplicates", nativePath(tree.path("t")), "--json"}).out);
    const QJsonObject group = plain[QStringLiteral("groups")].toArray()[0].toObject();
    EXPECT_EQ(group[QStringLiteral("sameFileAs")].toObject().size(), 1);
    EXPECT_FALSE(group.contains(QStringLiteral("nativeSameFileAs")));
}

TEST(CliNames, NamesThatAreNotUtf8WorkAndStayExactInJson)
{
    TempTree tree;
    RemovedAtEnd cleanup{tree.root()};
    const QByteArray root = nativePath(tree.root());
    for (const QByteArray name : {"a\xff", "b\xfe", "c", "d"})
        writeRaw(root + '/' + name, "same contents");

    const CliRun duplicates = cliBytes({"duplicates", root, "--json"});
    ASSERT_EQ(duplicates.status, 0) << duplicates.err.toStdString();
    const QJsonObject report = parsed(duplicates.out);
    EXPECT_EQ(report[QStringLiteral("skipped")].toInt(), 0);
    const QJsonArray groups = report[QStringLiteral("groups")].toArray();
    ASSERT_EQ(groups.size(), 1);
    const QJsonArray files = groups[0].toObject()[QStringLiteral("files")].toArray();
    ASSERT_EQ(files.size(), 4);
    QList<QByteArray> natives;
    for (const QJsonValue& file : files) {
        const QJsonObject object = file.toObject();
        const QString path = object[QStringLiteral("path")].toString();
        const QString native = object[QStringLiteral("nativePath")].toString();
        // Only names that need it carry the exact bytes; the text shows U+FFFD.
        EXPECT_EQ(native.isEmpty(), !path.contains(QChar(0xFFFD))) << path.toStdString();
        natives.append(native.isEmpty() ? path.toUtf8()
                                        : QByteArray::fromPercentEncoding(native.toLatin1()));
    }
    std::sort(natives.begin(), natives.end());
    EXPECT_EQ(natives,
              (QList<QByteArray>{root + "/a\xff", root + "/b\xfe", root + "/c", root + "/d"}));

    // Text shows each undecodable byte the same way, as ls -b does.
    const CliRun text = cliBytes({"duplicates", root});
    EXPECT_TRUE(text.out.contains(root + "/a\\377\n")) << text.out.toStdString();
    EXPECT_TRUE(text.out.contains("Skipped:  0"));

    // Each action names the exact bytes the user gave.
    CliRun run = cliBytes({"rename", root + "/a\xff", "z\xfd"});
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_TRUE(exists(root + "/z\xfd"));
    EXPECT_FALSE(exists(root + "/a\xff"));
    run = cliBytes({"mkdir", root, "m\xfc", "--json"});
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_TRUE(exists(root + "/m\xfc"));
    EXPECT_EQ(parsed(run.out)[QStringLiteral("nativePath")].toString().toLatin1(),
              (root + "/m\xfc").toPercentEncoding("/"));
    const auto encoded = [](const QByteArray& path) {
        return QString::fromLatin1(path.toPercentEncoding("/"));
    };
    run = cliBytes({"copy", root + "/b\xfe", root + "/m\xfc", "--json"});
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_TRUE(exists(root + "/m\xfc/b\xfe"));
    const QJsonObject copied = parsed(run.out)[QStringLiteral("items")].toArray()[0].toObject();
    EXPECT_EQ(copied[QStringLiteral("nativeSource")].toString(), encoded(root + "/b\xfe"));
    EXPECT_EQ(copied[QStringLiteral("nativeDestination")].toString(), encoded(root + "/m\xfc"));
    const QJsonArray placed = copied[QStringLiteral("placed")].toArray();
    ASSERT_EQ(placed.size(), 1);
    EXPECT_EQ(placed[0].toObject()[QStringLiteral("nativeFrom")].toString(),
              encoded(root + "/b\xfe"));
    EXPECT_EQ(placed[0].toObject()[QStringLiteral("nativeTo")].toString(),
              encoded(root + "/m\xfc/b\xfe"));
    run = cliBytes({"meta", root + "/b\xfe", "--json"});
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(parsed(run.out)[QStringLiteral("items")].toArray().size(), 1);

    CliSetup setup;
    setup.environment.insert(QStringLiteral("XDG_DATA_HOME"), tree.path(QStringLiteral("data")));
    run = cliBytes({"trash", root + "/b\xfe", root + "/c", "--json"}, setup);
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_FALSE(exists(root + "/b\xfe"));
    EXPECT_TRUE(exists(root + "/data/Trash/files/b\xfe"));
    // In the order of "trashed", null for the name that is text.
    const QJsonObject trashed = parsed(run.out);
    EXPECT_EQ(trashed[QStringLiteral("trashed")].toArray().size(), 2);
    EXPECT_EQ(trashed[QStringLiteral("nativeTrashed")].toArray(),
              (QJsonArray{encoded(root + "/b\xfe"), QJsonValue::Null}));
}

TEST(CliNames, ControlCharactersAreEscapedInTextNotInJson)
{
    TempTree tree;
    tree.file(QStringLiteral("line\nbreak"), "1");
    tree.file(QStringLiteral("\x1b[31mred"), "2");
    tree.file(QStringLiteral("back\\slash"), "3");

    CliRun run = cli({QStringLiteral("list"), tree.root()});
    EXPECT_EQ(run.out.count('\n'), 3) << run.out.toStdString();
    EXPECT_FALSE(run.out.contains('\x1b'));
    EXPECT_TRUE(run.out.contains("line\\nbreak\n"));
    EXPECT_TRUE(run.out.contains("\\033[31mred\n"));
    EXPECT_TRUE(run.out.contains("back\\\\slash\n"));
    run = cli({QStringLiteral("scan"), tree.root(), QStringLiteral("--files")});
    EXPECT_TRUE(run.out.contains("/line\\nbreak\n")) << run.out.toStdString();

    // Error messages stay on one line.
    run = cli({QStringLiteral("meta"), tree.path(QStringLiteral("gone\nname"))});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err.count('\n'), 1) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains("gone\\nname")) << run.err.toStdString();

    // JSON keeps the name as it is.
    run = cli({QStringLiteral("list"), tree.root(), QStringLiteral("--json")});
    QStringList names;
    for (const QJsonValue& entry : parsed(run.out)[QStringLiteral("entries")].toArray())
        names.append(entry.toObject()[QStringLiteral("name")].toString());
    EXPECT_TRUE(names.contains(QStringLiteral("line\nbreak")));
    EXPECT_TRUE(names.contains(QStringLiteral("\x1b[31mred")));
}

TEST(CliNames, InvalidNameIsQuotedAsTyped)
{
    TempTree tree;
    const CliRun run = cli({QStringLiteral("mkdir"), tree.root(), QStringLiteral("a/b")});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.err.contains("The name \u201Ca/b\u201D can\u2019t be used"))
        << run.err.toStdString();
    EXPECT_FALSE(QDir(tree.path(QStringLiteral("a"))).exists());
}

TEST(CliOutput, JsonEndsCleanlyAndFailedWritesFail)
{
    TempTree tree;
    tree.file(QStringLiteral("one.txt"), "1");

    // One document, one final newline.
    for (const QStringList& words :
         {QStringList{QStringLiteral("list"), tree.root()},
          QStringList{QStringLiteral("meta"), tree.path(QStringLiteral("one.txt"))},
          QStringList{QStringLiteral("tree"), tree.root()},
          QStringList{QStringLiteral("classify"), QStringLiteral("jpg")}}) {
        const CliRun run = cli(words + QStringList{QStringLiteral("--json")});
        EXPECT_EQ(run.status, 0) << run.err.toStdString();
        EXPECT_TRUE(run.out.endsWith("}\n")) << run.out.toStdString();
        EXPECT_FALSE(run.out.endsWith("\n\n")) << run.out.toStdString();
    }
    EXPECT_FALSE(cli({QStringLiteral("classify"), QStringLiteral("jpg")}).out.endsWith("\n\n"));

    // A failure half-way leaves no half document: it goes to stderr alone.
    CliRun run = cli({QStringLiteral("meta"), tree.path(QStringLiteral("one.txt")),
                      tree.path(QStringLiteral("missing.png")), QStringLiteral("--json")});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.out.isEmpty()) << run.out.toStdString();
    EXPECT_TRUE(run.err.contains("missing.png"));

    // Output nobody could take is a failure with a reason.
    CliSetup full;
    full.standardOutputFile = QStringLiteral("/dev/full");
    for (const QList<QByteArray>& words :
         {QList<QByteArray>{"list", nativePath(tree.root())},
          QList<QByteArray>{"list", nativePath(tree.root()), "--json"},
          QList<QByteArray>{"--help"}}) {
        run = cliBytes(words, full);
        EXPECT_NE(run.status, 0);
        EXPECT_TRUE(run.err.contains("No space left on device")) << run.err.toStdString();
    }
}

TEST(CliTrash, MissingDataFolderIsMadeAndNothingLandsInTheWorkingFolder)
{
    TempTree tree;
    const QString item = tree.file(QStringLiteral("item.txt"), "keep me");
    const QString work = tree.folder(QStringLiteral("work"));
    CliSetup setup;
    setup.workingDirectory = work;
    setup.environment.insert(QStringLiteral("HOME"), tree.folder(QStringLiteral("home")));
    setup.environment.insert(QStringLiteral("XDG_DATA_HOME"),
                             tree.path(QStringLiteral("home/missing/share")));

    // Named from the working folder, which it must not leave anything in.
    const CliRun run = cliBytes({"trash", "../item.txt"}, setup);
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_FALSE(QFile::exists(item));
    QFile trashed(tree.path(QStringLiteral("home/missing/share/Trash/files/item.txt")));
    ASSERT_TRUE(trashed.open(QIODevice::ReadOnly));
    EXPECT_EQ(trashed.readAll(), QByteArray("keep me"));
    EXPECT_TRUE(
        QDir(work).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot));
}

TEST(FileErrors, AFailureWithoutAPathQuotesNoName)
{
    const FileError error = FileError::withDescription(
        QString(), QStringLiteral("System-wide discovery is unavailable."));
    EXPECT_EQ(error.message(), QStringLiteral("System-wide discovery is unavailable."));
    EXPECT_EQ(
        FileError::withDescription(QStringLiteral("/x/y.txt"), QStringLiteral("gone")).message(),
        QStringLiteral("\u201Cy.txt\u201D: gone"));
}
