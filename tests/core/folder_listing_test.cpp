#include "directory_reader.h"
#include "file_operations.h"
#include "file_service.h"
#include "folder_listing.h"
#include "native_path.h"
#include "natural_order.h"
#include "path_names.h"
#include "test_support.h"

#include <QCollator>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <algorithm>
#include <atomic>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

// The collation names are compared with, asked directly for every pair.
QCollator referenceCollator()
{
    // A session without a language sorts as American English.
    const QLocale system;
    QCollator collator(system.language() == QLocale::C
                           ? QLocale(QLocale::English, QLocale::UnitedStates)
                           : system);
    collator.setNumericMode(true);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    return collator;
}

int sign(int value)
{
    return (value > 0) - (value < 0);
}

// Plain names where a shortcut could go wrong: numbers with zeros, lengths and
// separators, case, every printable character, and a few that need the collator.
QStringList trickyNames()
{
    QStringList names{"a2",
                      "a10",
                      "A10",
                      "a02",
                      "a002",
                      "a0",
                      "a00",
                      "a",
                      "A",
                      "a-b",
                      "a_b",
                      "a b",
                      "a.b",
                      "a~",
                      "a1b",
                      "a01b",
                      "a1.5",
                      "a1,5",
                      "file 10",
                      "file9",
                      "File9",
                      "10",
                      "9",
                      "09",
                      "0",
                      "00",
                      "000",
                      "x99999999999999999999",
                      "x100000000000000000000",
                      "a-",
                      "a--",
                      "ab",
                      "a.B",
                      "résumé",
                      "resume",
                      "Résumé",
                      "ÅSA",
                      "asa",
                      "Zebra",
                      "zebra",
                      "émile",
                      "Ω",
                      "a\u00a0b",
                      "a\tb",
                      "1a",
                      "1 a",
                      "1-2",
                      "1.2",
                      "12",
                      "v1.10.2",
                      "v1.9.10"};
    for (char16_t c = 0x20; c < 0x7f; ++c) {
        names << QString(QChar(c)) << QStringLiteral("x%1").arg(QChar(c))
              << QStringLiteral("x%1y").arg(QChar(c)) << QStringLiteral("%1x").arg(QChar(c));
    }
    names.removeDuplicates();
    return names;
}

QList<FileEntry> joined(const QList<QList<FileEntry>>& batches)
{
    QList<FileEntry> all;
    for (const QList<FileEntry>& batch : batches)
        all.append(batch);
    return all;
}

// The listing as the folder was always listed: every child looked at, then
// sorted by the collator itself.
QList<FileEntry> referenceListing(const QString& folder, bool hidden)
{
    DirectoryReader reader(DirectoryReader::openFolder(nativePath(folder).constData(), true),
                           hidden, DirectoryReader::Links::Follow);
    std::vector<DirectoryReader::Child> children;
    EXPECT_TRUE(reader.read(children));
    QList<FileEntry> entries;
    for (const DirectoryReader::Child& child : children)
        if (!child.statFailed) {
            const QString name = decodePath(child.name);
            entries << FileEntry::fromStat(childPath(folder, name), name, child.st);
        }
    const QCollator collator = referenceCollator();
    std::stable_sort(entries.begin(), entries.end(), [&](const FileEntry& a, const FileEntry& b) {
        if (a.isDirectory != b.isDirectory) return a.isDirectory;
        return collator.compare(a.name, b.name) < 0;
    });
    return entries;
}

void makeFile(const QByteArray& path)
{
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL, 0644);
    ASSERT_GE(fd, 0) << path.constData();
    ::close(fd);
}

} // namespace

TEST(NaturalOrder, AgreesWithTheCollatorOnEveryPairAndInBigSorts)
{
    const QStringList names = trickyNames();
    const NaturalOrder order;
    const QCollator collator = referenceCollator();
    for (const QString& a : names)
        for (const QString& b : names)
            ASSERT_EQ(sign(order.compare(a, b)), sign(collator.compare(a, b)))
                << a.toStdString() << " vs " << b.toStdString();

    // Sorted folders first in one go: few names the shortcut can't take, then
    // many, each small and big enough to share the sort with a second thread.
    QStringList plain;
    for (const QString& name : names)
        if (std::all_of(name.begin(), name.end(), [](QChar c) { return c >= u' ' && c <= u'~'; }))
            plain << name;
    for (const int odd : {3, 2000}) {
        const QStringList& bases = odd < 10 ? plain : names;
        QList<QString> many;
        std::vector<bool> folders;
        QRandomGenerator random(7);
        for (int i = 0; i < 9000; ++i) {
            const QString& base = bases[random.bounded(int(bases.size()))];
            many << (i < odd ? QStringLiteral("é%1").arg(base) : base + QString::number(i % 50));
            folders.push_back(random.bounded(5) == 0);
        }
        std::vector<qsizetype> expected(many.size());
        std::iota(expected.begin(), expected.end(), 0);
        std::stable_sort(expected.begin(), expected.end(), [&](qsizetype a, qsizetype b) {
            if (folders[a] != folders[b]) return bool(folders[a]);
            return collator.compare(many[a], many[b]) < 0;
        });
        EXPECT_EQ(order.orderFoldersFirst(many, folders), expected) << odd;
        // The start of the order alone, when the shortcut takes nearly all names.
        const std::vector<qsizetype> first = order.firstFoldersFirst(many, folders, 300);
        if (odd < 10)
            EXPECT_EQ(first, std::vector<qsizetype>(expected.begin(), expected.begin() + 300));
        else
            EXPECT_TRUE(first.empty());
    }
}

TEST(FolderListing, BatchesJoinToTheCollatedListingOfAMixedFolder)
{
    TempTree tree;
    const QByteArray root = nativePath(tree.root());
    for (const QString& name : trickyNames())
        if (!name.contains(u'/') && name != u"." && name != u"..") {
            if (name.startsWith(u'x'))
                tree.folder(name);
            else
                makeFile(root + '/' + name.toUtf8());
        }
    // Names that are no UTF-8, links to a folder, a file, nowhere and themselves.
    makeFile(root + "/bad\xff\xfe name");
    ASSERT_EQ(::mkdir(root + "/\xe9t\xe9", 0755), 0);
    ASSERT_EQ(::symlink("x1y", root + "/link-to-folder"), 0);
    ASSERT_EQ(::symlink("a10", root + "/link-to-file"), 0);
    ASSERT_EQ(::symlink("nowhere", root + "/dead link"), 0);
    ASSERT_EQ(::symlink("loop", root + "/loop"), 0);
    tree.file(QStringLiteral(".hidden"), "a2\nx5\n");

    for (const bool hidden : {false, true}) {
        QList<QList<FileEntry>> batches;
        FolderListing::list(
            tree.root(), hidden, [&](QList<FileEntry> batch) { batches << batch; }, {}, 3, 40);
        const QList<FileEntry> listed = joined(batches);
        EXPECT_EQ(namesOf(listed), namesOf(referenceListing(tree.root(), hidden)));
        EXPECT_EQ(listed, referenceListing(tree.root(), hidden));
        EXPECT_EQ(batches.first().size(), 3);
        EXPECT_GT(batches.size(), 10);
        EXPECT_EQ(namesOf(FileOperations::contents(tree.root(), hidden)), namesOf(listed));

        const QStringList names = namesOf(listed);
        EXPECT_EQ(names.contains(QStringLiteral("a2")), hidden);
        EXPECT_EQ(names.contains(QStringLiteral(".hidden")), hidden);
        const auto at = [&](const char* name) {
            return listed[names.indexOf(QString::fromUtf8(name))];
        };
        EXPECT_TRUE(at("link-to-folder").isDirectory);
        EXPECT_FALSE(at("link-to-file").isDirectory);
        EXPECT_FALSE(at("dead link").isDirectory);
        EXPECT_FALSE(at("loop").isDirectory);
        EXPECT_LT(names.indexOf(QStringLiteral("a2")), names.indexOf(QStringLiteral("a10")));
        EXPECT_EQ(at("a10").path, tree.path(QStringLiteral("a10")));
        EXPECT_TRUE(names.contains(decodePath("bad\xff\xfe name")));
        EXPECT_TRUE(listed[names.indexOf(decodePath("\xe9t\xe9"))].isDirectory);
    }
    EXPECT_THROW(FolderListing::list(tree.path(QStringLiteral("nope")), false, [](auto) {}),
                 FileError);
    EXPECT_THROW(FolderListing::list(tree.path(QStringLiteral("a10")), false, [](auto) {}),
                 FileError);
    // An empty folder is one empty batch.
    QList<QList<FileEntry>> empty;
    FolderListing::list(tree.folder(QStringLiteral("x0/empty")), false,
                        [&](QList<FileEntry> batch) { empty << batch; });
    EXPECT_EQ(empty, QList<QList<FileEntry>>{{}});
}

TEST(FolderListing, ABigFolderComesInSeveralResultsAndStopsAtEveryStage)
{
    TempTree tree;
    const QString many = tree.folder(QStringLiteral("many"));
    const QByteArray root = nativePath(many);
    for (int i = 0; i < 20000; ++i)
        makeFile(root + "/f" + QByteArray::number(i * 7919 % 20000));

    FileService service;
    QFuture<QList<FileEntry>> listing = service.listing(many, false);
    listing.waitForFinished();
    ASSERT_GE(listing.resultCount(), 2);
    EXPECT_EQ(listing.resultAt(0).size(), FolderListing::kFirstBatch);
    EXPECT_EQ(namesOf(listing.resultAt(0)).first(), QStringLiteral("f0"));
    const QList<FileEntry> all = joined(listing.results());
    EXPECT_EQ(all.size(), 20000);
    EXPECT_EQ(all, referenceListing(many, false));

    // Stopped at the n-th question, for every n until the listing gets through:
    // early while reading names (nothing out yet), later between batches.
    int stopped = 0, stoppedBeforeAny = 0, stoppedAfterSome = 0;
    for (int after = 1;; ++after) {
        std::atomic<int> asked = 0;
        int published = 0;
        try {
            FolderListing::list(
                many, false, [&](QList<FileEntry>) { ++published; },
                [&] { return ++asked >= after; }, FolderListing::kFirstBatch, 4096);
        } catch (const Cancelled&) {
            ++stopped;
            (published == 0 ? stoppedBeforeAny : stoppedAfterSome) += 1;
            continue;
        }
        EXPECT_GT(after, 10);
        break;
    }
    EXPECT_GE(stoppedBeforeAny, 5);
    EXPECT_GE(stoppedAfterSome, 3);

    // A cancelled future stops the job.
    QFuture<QList<FileEntry>> cancelled = service.listing(many, false);
    cancelled.cancel();
    cancelled.waitForFinished();
    EXPECT_TRUE(cancelled.isCanceled());
}
