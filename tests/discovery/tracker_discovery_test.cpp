#include "discovery/tracker_sandbox.h"
#include "test_support.h"
#include "tracker_library_discovery.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// Waits for the first snapshot that is final and satisfies `accept`.
std::optional<LibrarySnapshot> discover(TrackerLibraryDiscovery& discovery, MediaKind kind,
                                        bool screenshotsOnly,
                                        const std::function<bool(const LibrarySnapshot&)>& accept,
                                        int timeoutMs = 60000)
{
    std::optional<LibrarySnapshot> found;
    discovery.start(kind, screenshotsOnly, [&](const LibrarySnapshot& snapshot) {
        if (!snapshot.gathering && accept(snapshot)) found = snapshot;
    });
    (void)QTest::qWaitFor([&] { return found.has_value(); }, timeoutMs);
    return found;
}

QStringList names(const LibrarySnapshot& snapshot)
{
    QStringList out;
    for (const FileEntry& f : snapshot.files)
        out << f.name;
    out.sort();
    return out;
}

} // namespace

TEST(TrackerDiscovery, FindsTheIndexedFilesByKindAndFollowsChanges)
{
    TrackerSandbox sandbox;
    const QDir root(sandbox.folder());
    root.mkpath("Pictures");
    root.mkpath("Documents");
    ASSERT_TRUE(QImage(64, 48, QImage::Format_RGB32).save(root.filePath("Pictures/beach.png")));
    ASSERT_TRUE(QImage(80, 60, QImage::Format_RGB32)
                    .save(root.filePath("Pictures/Screenshot from 2024-01-01 10-00-00.png")));
    // Types without an extractor get no class in the index: found by name.
    ASSERT_TRUE(
        QImage(30, 20, QImage::Format_RGB32).save(root.filePath("Pictures/photo.webp"), "WEBP"));
    const QList<std::pair<QString, QByteArray>> texts = {
        {"Documents/notes.txt", "Some notes for the index.\n"},
        {"Documents/table.csv", "name,size\na,1\n"},
        {"Documents/data.json", "{\"a\": [1, 2]}\n"},
        {"Documents/main.cpp", "int main() { return 0; }\n"},
        {"Documents/README", "no extension, no kind\n"}};
    for (const auto& [name, contents] : texts) {
        QFile file(root.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(contents);
    }

    const QString failure = sandbox.start(120000, 5);
    ASSERT_TRUE(failure.isEmpty()) << failure.toStdString();

    // The command line asks the same index.
    QProcess cli;
    cli.start(QUORVANE_CLI_PATH, {"discover", "image", "--json"});
    ASSERT_TRUE(cli.waitForFinished(60000));
    EXPECT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().toStdString();
    const QJsonDocument listed = QJsonDocument::fromJson(cli.readAllStandardOutput());
    EXPECT_EQ(listed["files"].toArray().size(), 3);
    EXPECT_EQ(listed["screenshots"].toArray().size(), 1);

    TrackerLibraryDiscovery discovery;
    auto images = discover(discovery, MediaKind::Image, false,
                           [](const LibrarySnapshot& s) { return s.files.size() == 3; });
    ASSERT_TRUE(images.has_value());
    EXPECT_EQ(names(*images),
              (QStringList{"Screenshot from 2024-01-01 10-00-00.png", "beach.png", "photo.webp"}));
    EXPECT_EQ(images->screenshots.size(), 1);
    for (const FileEntry& file : images->files) {
        const FileEntry onDisk = FileEntry::fromPath(file.path);
        EXPECT_EQ(file.size, onDisk.size);
        EXPECT_EQ(file.modified.toSecsSinceEpoch(), onDisk.modified.toSecsSinceEpoch());
        EXPECT_EQ(file.mediaKind, MediaKind::Image);
    }

    auto shots = discover(discovery, MediaKind::Image, true,
                          [](const LibrarySnapshot& s) { return !s.files.isEmpty(); });
    ASSERT_TRUE(shots.has_value());
    EXPECT_EQ(names(*shots), QStringList{"Screenshot from 2024-01-01 10-00-00.png"});

    auto documents = discover(discovery, MediaKind::Document, false,
                              [](const LibrarySnapshot& s) { return !s.files.isEmpty(); });
    ASSERT_TRUE(documents.has_value());
    EXPECT_EQ(names(*documents), (QStringList{"data.json", "main.cpp", "notes.txt", "table.csv"}));

    auto video =
        discover(discovery, MediaKind::Video, false, [](const LibrarySnapshot&) { return true; });
    ASSERT_TRUE(video.has_value());
    EXPECT_TRUE(video->files.isEmpty());

    // A file added later arrives as an update, without a new start.
    auto everything = discover(discovery, MediaKind::Other, false, [](const LibrarySnapshot& s) {
        return std::any_of(s.files.begin(), s.files.end(),
                           [](const FileEntry& f) { return f.name == "notes.txt"; });
    });
    ASSERT_TRUE(everything.has_value());
    EXPECT_TRUE(
        std::any_of(everything->files.begin(), everything->files.end(),
                    [](const FileEntry& f) { return f.isDirectory && f.name == "Pictures"; }));
    EXPECT_TRUE(
        std::any_of(everything->files.begin(), everything->files.end(),
                    [](const FileEntry& f) { return !f.isDirectory && f.name == "README"; }));
    // Newest first, folders and files alike.
    for (qsizetype i = 1; i < everything->files.size(); ++i)
        EXPECT_GE(everything->files[i - 1].modified, everything->files[i].modified);
    std::optional<LibrarySnapshot> update;
    discovery.start(MediaKind::Image, false, [&](const LibrarySnapshot& snapshot) {
        if (!snapshot.gathering && snapshot.files.size() == 4) update = snapshot;
    });
    ASSERT_TRUE(QImage(10, 10, QImage::Format_RGB32).save(root.filePath("Pictures/later.png")));
    ASSERT_TRUE(QTest::qWaitFor([&] { return update.has_value(); }, 60000))
        << "the new picture never arrived";
    EXPECT_TRUE(names(*update).contains("later.png"));
    discovery.stop();
}

TEST(TrackerDiscovery, StaysGatheringUntilTheExtractorHasClassifiedEverything)
{
    TrackerSandbox sandbox;
    const QDir root(sandbox.folder());
    const int count = 400;
    QImage picture(48, 32, QImage::Format_RGB32);
    picture.fill(Qt::darkCyan);
    for (int i = 0; i < count; ++i)
        ASSERT_TRUE(picture.save(root.filePath(QStringLiteral("picture-%1.png").arg(i))));

    // Discovery runs from the moment the index starts: no final list may
    // come before the extractor has classified every picture.
    const QString failure = sandbox.launch();
    ASSERT_TRUE(failure.isEmpty()) << failure.toStdString();
    TrackerLibraryDiscovery discovery;
    QList<qsizetype> finals;
    discovery.start(MediaKind::Image, false, [&](const LibrarySnapshot& snapshot) {
        ASSERT_FALSE(snapshot.message.has_value()) << snapshot.message->toStdString();
        if (!snapshot.gathering) finals << snapshot.files.size();
    });
    ASSERT_TRUE(QTest::qWaitFor([&] { return finals.contains(count); }, 180000))
        << "never all pictures";
    discovery.stop();
    EXPECT_EQ(finals.first(), count) << "a final list of " << finals.first() << " came first";
}

TEST(TrackerDiscovery, AnIndexThatCannotBeReachedGivesTheMessageAtOnce)
{
    TempTree tree;
    ScopedEnv bus("DBUS_SESSION_BUS_ADDRESS",
                  QStringLiteral("unix:path=%1/no-bus-here").arg(tree.root()).toLocal8Bit());
    TrackerLibraryDiscovery discovery;
    QList<LibrarySnapshot> received;
    discovery.start(MediaKind::Image, false, [&](const LibrarySnapshot& s) { received << s; });
    ASSERT_TRUE(QTest::qWaitFor([&] { return !received.isEmpty(); }, 10000));
    EXPECT_EQ(received[0].message, TrackerLibraryDiscovery::unavailableMessage());
    EXPECT_TRUE(received[0].files.isEmpty());
}
