#include "duplicate_finder.h"
#include "duplicate_guard.h"
#include "file_error.h"
#include "file_operations.h"
#include "file_service.h"
#include "test_support.h"

#include <QCryptographicHash>
#include <QFile>
#include <QRandomGenerator>
#include <atomic>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <map>
#include <mutex>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using Groups = QList<QList<FileEntry>>;

FileEntry entry(const QString& path)
{
    return FileEntry::fromPath(path);
}

QList<QStringList> paths(const Groups& groups)
{
    QList<QStringList> result;
    for (const auto& group : groups) {
        QStringList names;
        for (const FileEntry& file : group)
            names.append(file.path);
        result.append(names);
    }
    return result;
}

void setMtime(const QString& path, const struct timespec& when)
{
    const struct timespec times[2] = {when, when};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.toUtf8().constData(), times, 0), 0);
}

struct timespec mtimeOf(const QString& path)
{
    struct stat st {};
    ::stat(path.toUtf8().constData(), &st);
    return st.st_mtim;
}

} // namespace

TEST(DuplicateFinder, GroupsBySizeInGivenOrder)
{
    TempTree tree;
    const QString a = tree.file("a", "hello"), b = tree.file("b", "hello"),
                  c = tree.file("c", "hello"), other = tree.file("other", "world");
    tree.file("empty1");
    tree.file("empty2");
    const QString big1 = tree.file("big1", QByteArray(10'000'000, 'm'));
    const QString big2 = tree.file("sub/big2", QByteArray(10'000'000, 'm'));
    const QString kb1 = tree.file("kb1", QByteArray(1000, 'k')),
                  kb2 = tree.file("kb2", QByteArray(1000, 'k'));
    // A lone size is never looked at, so a path that is gone costs nothing.
    const FileEntry lonely = FileEntry::indexed(tree.path("gone"), 77, {}, false);

    QList<FileEntry> files = FileOperations::scan(tree.root()).files;
    std::sort(files.begin(), files.end(),
              [](const FileEntry& x, const FileEntry& y) { return x.path < y.path; });
    files.append(lonely);
    // Given order C, A, B stays the order within the group.
    QList<FileEntry> ordered{entry(c),   entry(a),    entry(b),    entry(other), entry(kb1),
                             entry(kb2), entry(big2), entry(big1), lonely};
    ordered.append(entry(tree.path("empty1")));
    ordered.append(entry(tree.path("empty2")));
    const DuplicateReport report = DuplicateFinder().report(ordered);
    EXPECT_EQ(report.skipped, 0);
    EXPECT_EQ(paths(report.groups), (QList<QStringList>{{big2, big1}, {kb1, kb2}, {c, a, b}}));
    // The fresh records are reported.
    EXPECT_EQ(report.groups[2][0], entry(c));

    FileService service;
    auto fromService = service.duplicateReport(files);
    auto groupsOnly = service.duplicates(files);
    EXPECT_EQ(fromService.result().groups, groupsOnly.result());
    EXPECT_EQ(fromService.result().groups.size(), 3);
}

TEST(DuplicateFinder, MatchesAnIndependentHashOfAGeneratedTree)
{
    TempTree tree;
    QRandomGenerator random(42);
    std::map<QByteArray, std::set<QString>> expected; // content digest -> paths
    auto add = [&](const QString& relative, const QByteArray& contents) {
        const QString path = tree.file(relative, contents);
        if (!contents.isEmpty())
            expected[QCryptographicHash::hash(contents, QCryptographicHash::Sha256)].insert(path);
        return path;
    };
    QList<QByteArray> bodies;
    for (int i = 0; i < 12; ++i) {
        const int size = QList<int>{1, 7, 4096, 8192, 8193, 20000, 1 << 20, (1 << 20) + 5}[i % 8];
        QByteArray body(size, '\0');
        for (char& byte : body)
            byte = char(random.bounded(256));
        bodies.append(body);
    }
    // Same edges, different middle: only the full read tells them apart.
    QByteArray middle = bodies[6];
    middle[500'000] = char(middle[500'000] ^ 1);
    bodies.append(middle);
    for (int i = 0; i < bodies.size(); ++i) {
        add(QStringLiteral("one/f%1").arg(i), bodies[i]);
        if (i % 3 == 0) add(QStringLiteral("two/copy%1").arg(i), bodies[i]);
        if (i % 4 == 0) add(QStringLiteral("three/deep/again%1").arg(i), bodies[i]);
    }
    // Equal edges, differing at various depths: the files read side by side
    // part ways at different steps, and pairs that part together stay a pair.
    QByteArray base(800'000, '\0');
    for (char& byte : base)
        byte = char(random.bounded(256));
    for (int variant = 0; variant < 4; ++variant) {
        QByteArray body = base;
        if (variant > 0) body[100'000 * variant * 2] = char(body[100'000 * variant * 2] ^ 0x5a);
        add(QStringLiteral("layers/v%1a").arg(variant), body);
        if (variant % 2 == 0) add(QStringLiteral("layers/v%1b").arg(variant), body);
    }
    // More equal files than are read side by side at once.
    for (int i = 0; i < 70; ++i)
        add(QStringLiteral("many/m%1").arg(i), bodies[3]);
    add("empty/a", {});
    add("empty/b", {});
    const QString linked = tree.path("one/f1");
    ASSERT_EQ(::link(linked.toUtf8().constData(), tree.path("two/hardlink").toUtf8().constData()),
              0);
    expected[QCryptographicHash::hash(bodies[1], QCryptographicHash::Sha256)].insert(
        tree.path("two/hardlink"));
    ASSERT_EQ(::symlink(linked.toUtf8().constData(), tree.path("two/symlink").toUtf8().constData()),
              0);

    const DuplicateReport report =
        DuplicateFinder().report(FileOperations::scan(tree.root()).files);
    EXPECT_EQ(report.skipped, 0);
    std::set<std::set<QString>> want, got;
    for (const auto& [digest, members] : expected)
        if (members.size() >= 2) want.insert(members);
    qint64 lastSize = std::numeric_limits<qint64>::max();
    for (const auto& group : report.groups) {
        EXPECT_LE(group.first().size, lastSize);
        lastSize = group.first().size;
        std::set<QString> members;
        for (const FileEntry& file : group)
            members.insert(file.path);
        got.insert(members);
    }
    EXPECT_EQ(got, want);
    EXPECT_TRUE(std::none_of(report.groups.begin(), report.groups.end(), [&](const auto& group) {
        return std::any_of(group.begin(), group.end(), [&](const FileEntry& file) {
            return file.path == tree.path("two/symlink");
        });
    }));
}

TEST(DuplicateFinder, ManyFilesWithEqualEdges)
{
    // More files of one size and the same first and last blocks than are read
    // side by side at once, all different in the middle but for a pair and a
    // trio that lie far apart in the given order. They part either early in
    // the file or only after the first stretch read.
    for (const qint64 partAt : {qint64(2 * 4096), qint64(300'000)}) {
        TempTree tree;
        const int count = 70;
        QList<FileEntry> files;
        QStringList names;
        for (int i = 0; i < count; ++i) {
            QByteArray body(320 << 10, 'e');
            const int mark = i == count - 1 ? 0 : (i == 40 || i == 66) ? 10 : i;
            body[partAt + mark] = 'M';
            names.append(tree.file(QStringLiteral("equal-edges/f%1").arg(i), body));
            files.append(entry(names.last()));
        }
        const DuplicateReport report = DuplicateFinder().report(files);
        EXPECT_EQ(report.skipped, 0);
        EXPECT_EQ(paths(report.groups), (QList<QStringList>{{names[0], names[count - 1]},
                                                            {names[10], names[40], names[66]}}))
            << partAt;
    }
}

TEST(DuplicateFinder, HardLinksLinksAndSpecialFiles)
{
    TempTree tree;
    const QString a = tree.file("a", "same!");
    const QString b = tree.path("b");
    ASSERT_EQ(::link(a.toUtf8().constData(), b.toUtf8().constData()), 0);
    const QString c = tree.file("c", "same!");
    const QString link = tree.path("link");
    ASSERT_EQ(::symlink("abcde", link.toUtf8().constData()), 0); // as long as the files
    const QString fifo = tree.path("fifo");
    ASSERT_EQ(::mkfifo(fifo.toUtf8().constData(), 0644), 0);
    // Listed as 5-byte files, as a stale index might: files that changed since.
    const FileEntry fifoEntry = FileEntry::indexed(fifo, 5, {}, false);
    const FileEntry linkEntry = FileEntry::indexed(link, 5, {}, false);

    DuplicateReport report =
        DuplicateFinder().report({entry(a), fifoEntry, linkEntry, entry(b), entry(a), entry(c)});
    EXPECT_EQ(paths(report.groups), (QList<QStringList>{{a, b, c}}));
    EXPECT_EQ(report.skipped, 2);
    // b is a itself under another name: only c's bytes can be won back.
    EXPECT_EQ(report.sameFileAs, (QHash<QString, QString>{{b, a}}));
    EXPECT_EQ(report.extraCopies(report.groups.first()), 1);
    EXPECT_EQ(report.wasted(report.groups.first()), 5);
    EXPECT_EQ(report.wasted(), 5);
    // Trashing a name of a file whose other name stays loses nothing, and
    // neither does trashing every name of it while c stays; everything does.
    EXPECT_TRUE(DuplicateGuard::lastCopies({a, c}, report.groups).isEmpty());
    EXPECT_TRUE(DuplicateGuard::lastCopies({a, b}, report.groups).isEmpty());
    EXPECT_EQ(DuplicateGuard::lastCopies({a, b, c}, report.groups).size(), 1);

    // As a scan lists them, a link and a pipe are what they were: not skipped.
    report = DuplicateFinder().report(FileOperations::scan(tree.root()).files);
    EXPECT_EQ(report.groups.size(), 1);
    EXPECT_EQ(report.groups.first().size(), 3);
    EXPECT_EQ(report.skipped, 0);
    EXPECT_EQ(report.sameFileAs.size(), 1);
    EXPECT_EQ(report.wasted(), 5);

    // A file and its hard link alone: a group with nothing to gain.
    QFile::remove(c);
    report = DuplicateFinder().report({entry(a), entry(b)});
    EXPECT_EQ(paths(report.groups), (QList<QStringList>{{a, b}}));
    EXPECT_EQ(report.extraCopies(report.groups.first()), 0);
    EXPECT_EQ(report.wasted(), 0);
    EXPECT_TRUE(DuplicateGuard::lastCopies({b}, report.groups).isEmpty());
    EXPECT_EQ(DuplicateGuard::lastCopies({a, b}, report.groups).size(), 1);

    // One path listed twice is not a pair.
    const QString single = tree.file("single", "12345678");
    EXPECT_TRUE(DuplicateFinder().report({entry(single), entry(single)}).groups.isEmpty());
}

TEST(DuplicateFinder, FilesThatChangeAreSkipped)
{
    TempTree tree;
    const QByteArray body(3 * 4096, 'c'); // above the edge size: read twice
    const QString twin = tree.file("twin", body);
    const QString vanished = tree.file("vanished", body);
    const QString grown = tree.file("grown", body);
    const QString grownEarly = tree.file("grownEarly", body);
    const QString rewritten = tree.file("rewritten", body);
    const QString replaced = tree.file("replaced", body);
    const QString deletedEarly = tree.file("deletedEarly", body);
    const QString restored = tree.file("restored", body);
    QList<FileEntry> listed{entry(twin),         entry(vanished),  entry(grown),
                            entry(grownEarly),   entry(rewritten), entry(replaced),
                            entry(deletedEarly), entry(restored)};
    QFile::remove(deletedEarly);
    // Became a folder, a link and a pipe after the listing.
    const QString folder = tree.file("becameFolder", body);
    const QString link = tree.file("becameLink", body);
    const QString fifo = tree.file("becameFifo", body);
    listed << entry(folder) << entry(link) << entry(fifo);
    for (const QString& path : {folder, link, fifo})
        QFile::remove(path);
    ASSERT_EQ(::mkdir(folder.toUtf8().constData(), 0755), 0);
    ASSERT_EQ(::symlink("twin", link.toUtf8().constData()), 0);
    ASSERT_EQ(::mkfifo(fifo.toUtf8().constData(), 0644), 0);
    {
        QFile file(grownEarly);
        ASSERT_TRUE(file.open(QIODevice::Append));
        file.write("more");
    }

    std::mutex mutex;
    std::set<QString> done;
    DuplicateFinder finder;
    finder.setReadHook([&](const QString& path) {
        const std::lock_guard lock(mutex);
        if (!done.insert(path).second) return;
        if (path == vanished) {
            QFile::remove(path);
        } else if (path == grown) {
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::Append));
            file.write("x");
        } else if (path == rewritten) {
            // Same size, new date.
            struct timespec when = mtimeOf(path);
            when.tv_sec -= 100;
            setMtime(path, when);
        } else if (path == replaced) {
            // Another file of the same size and date takes its place.
            const QString other = tree.file("incoming", QByteArray(body.size(), 'z'));
            setMtime(other, mtimeOf(path));
            ASSERT_EQ(::rename(other.toUtf8().constData(), path.toUtf8().constData()), 0);
        } else if (path == restored) {
            // Rewritten in place and given its old date back.
            const struct timespec when = mtimeOf(path);
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::ReadWrite));
            file.write(QByteArray(body.size(), 'r'));
            file.close();
            setMtime(path, when);
        }
    });
    const DuplicateReport report = finder.report(listed);
    EXPECT_TRUE(report.groups.isEmpty()) << paths(report.groups).size();
    EXPECT_EQ(report.skipped, 10);
}

TEST(DuplicateFinder, FilesThatChangeWhileReadAreSkipped)
{
    TempTree tree;
    QByteArray body(3 << 20, '\0');
    QRandomGenerator random(7);
    for (char& byte : body)
        byte = char(random.bounded(256));
    const QString a = tree.file("a", body), shrunk = tree.file("shrunk", body),
                  rewritten = tree.file("rewritten", body), d = tree.file("d", body);
    const QList<FileEntry> files{entry(a), entry(shrunk), entry(rewritten), entry(d)};

    // The cancellation check is asked per file before the full read, then
    // per step of it: the files change after its first step.
    std::atomic<int> asked{0};
    const DuplicateReport report = DuplicateFinder().report(files, [&] {
        if (++asked != 2 * files.size() + 3) return false;
        EXPECT_EQ(::truncate(shrunk.toUtf8().constData(), 1 << 20), 0);
        const struct timespec when = mtimeOf(rewritten);
        QFile file(rewritten);
        EXPECT_TRUE(file.open(QIODevice::ReadWrite));
        file.seek(2 << 20);
        file.write(QByteArray(1 << 20, 'w'));
        file.close();
        setMtime(rewritten, when);
        return false;
    });
    EXPECT_GT(asked.load(), 2 * files.size() + 3);
    EXPECT_EQ(paths(report.groups), (QList<QStringList>{{a, d}}));
    EXPECT_EQ(report.skipped, 2);
}

TEST(DuplicateFinder, UnreadableFileIsSkippedWhileThePairIsFound)
{
    TempTree tree;
    const QString a = tree.file("pair/a", "12345678");
    const QString b = tree.file("pair/b", "12345678");
    const QString locked = tree.file("locked/c", "12345678");
    ASSERT_EQ(::chmod(locked.toUtf8().constData(), 0), 0);
    tree.openToEveryone();
    ::chmod(a.toUtf8().constData(), 0644);
    ::chmod(b.toUtf8().constData(), 0644);
    const QList<FileEntry> files{entry(locked), entry(a), entry(b)};
    const int status = runAsNobody([&] {
        const DuplicateReport report = DuplicateFinder().report(files);
        if (report.skipped != 1) return 1;
        if (paths(report.groups) != QList<QStringList>{{a, b}}) return 2;
        return 0;
    });
    if (status == -1) GTEST_SKIP() << "needs root to switch to an unprivileged user";
    EXPECT_EQ(status, 0);
}

TEST(DuplicateFinder, CancelsPerFileAndPerChunk)
{
    TempTree tree;
    const QByteArray body(3 << 20, 'q');
    const QList<FileEntry> files{entry(tree.file("a", body)), entry(tree.file("b", body))};

    std::atomic<int> asked{0};
    const DuplicateReport full = DuplicateFinder().report(files, [&] {
        ++asked;
        return false;
    });
    EXPECT_EQ(full.groups.size(), 1);
    // Two files of three chunks each, plus the checks per file.
    EXPECT_GE(asked.load(), 2 * 3 + 2);

    for (int cancelAt : {1, 3, asked.load() - 1}) {
        std::atomic<int> count{0};
        EXPECT_THROW(DuplicateFinder().report(files, [&] { return ++count >= cancelAt; }),
                     Cancelled)
            << cancelAt;
    }

    FileService service;
    auto future = service.duplicateReport(files);
    future.cancel();
    future.waitForFinished();
    EXPECT_TRUE(future.isCanceled());
}
