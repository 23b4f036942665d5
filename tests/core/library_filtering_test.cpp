#include "file_error.h"
#include "library_filtering.h"
#include "test_support.h"
#include "text_matcher.h"

#include <gtest/gtest.h>

namespace {

FileEntry file(const QString& path, qint64 size = 1, bool isDirectory = false)
{
    return FileEntry::indexed(path, size, QDateTime::currentDateTimeUtc(), isDirectory);
}

LibraryResult evaluate(const QList<FileEntry>& files, const QString& query = {},
                       const MediaFilter& filter = {})
{
    return LibraryFiltering::evaluate(files, std::nullopt, false, {}, query, filter, {}, false);
}

} // namespace

TEST(LibraryFiltering, EmptyInputStillOffersFormats)
{
    EXPECT_EQ(evaluate({}), LibraryResult::empty());
    MediaFilter gif;
    gif.format = QStringLiteral("GIF");
    const LibraryResult result = evaluate({file("/p/a.jpg")}, {}, gif);
    EXPECT_TRUE(result.files.isEmpty());
    EXPECT_EQ(result.formats, QStringList({"All formats", "GIF", "JPG"}));
    EXPECT_EQ(result.totalBytes, 0);
}

TEST(LibraryFiltering, FormatsComeFromKindBeforeSearchAndFilter)
{
    const QList<FileEntry> files{file("/p/a.jpg", 3),    file("/p/b.JPG", 4),
                                 file("/p/c.png", 5),    file("/p/noext", 6),
                                 file("/p/song.mp3", 7), file("/p/folder.png", 0, true)};
    MediaFilter filter;
    filter.format = QStringLiteral("JPG");
    const LibraryResult result =
        LibraryFiltering::evaluate(files, std::nullopt, false, {}, u"b"_qs, filter, {}, true);
    EXPECT_EQ(result.formats, QStringList({"All formats", "", "JPG", "MP3", "PNG"}));
    EXPECT_EQ(namesOf(result.files), QStringList{"b.JPG"});
    EXPECT_EQ(result.totalBytes, 4);

    const LibraryResult images =
        LibraryFiltering::evaluate(files, MediaKind::Image, false, {}, {}, {}, {}, false);
    EXPECT_EQ(images.formats, QStringList({"All formats", "JPG", "PNG"}));
    EXPECT_EQ(images.totalBytes, 12);
}

TEST(LibraryFiltering, ScreenshotsByIndexOrByName)
{
    const QList<FileEntry> files{file("/s/Screen Shot 2024-01-02 at 10.00.png"),
                                 file("/s/myscreenshot.jpg"), file("/s/IMG_1.png"),
                                 file("/s/IMG_2.png"), file("/screenshots/plain.png")};
    auto shown = [&](const QSet<QString>& marked) {
        MediaFilter byName;
        byName.sort = MediaFilter::Sort::Name;
        return namesOf(
            LibraryFiltering::evaluate(files, std::nullopt, true, marked, {}, byName, {}, false)
                .files);
    };
    EXPECT_EQ(shown({}), QStringList({"myscreenshot.jpg", "Screen Shot 2024-01-02 at 10.00.png"}));
    EXPECT_EQ(shown({"/s/IMG_1.png"}), QStringList({"IMG_1.png", "myscreenshot.jpg",
                                                    "Screen Shot 2024-01-02 at 10.00.png"}));
}

TEST(LibraryFiltering, SearchMatchesNamesOnlyWithoutCase)
{
    const QList<FileEntry> files{file("/docs/annual-report.pdf"), file("/report/summary.pdf"),
                                 file(u"/x/\u00c4RGER.txt"_qs),   file(u"/x/Stra\u00dfe.txt"_qs),
                                 file(u"/x/Cafe\u0301.txt"_qs),   file("/x/plain.txt")};
    auto found = [&](const QString& query) { return namesOf(evaluate(files, query).files); };
    EXPECT_EQ(found("REPORT"), QStringList{"annual-report.pdf"});
    EXPECT_EQ(found(u"\u00e4rger"_qs), QStringList{u"\u00c4RGER.txt"_qs});
    EXPECT_EQ(found("STRASSE"), QStringList{u"Stra\u00dfe.txt"_qs});
    EXPECT_EQ(found(u"caf\u00c9"_qs), QStringList{u"Cafe\u0301.txt"_qs});
    // The query is taken as typed: a trailing space is part of it.
    EXPECT_TRUE(found("plain ").isEmpty());
    EXPECT_TRUE(found("ss").contains(u"Stra\u00dfe.txt"_qs));

    EXPECT_TRUE(TextMatcher(u"\u1E9E"_qs).foundIn(u"grossartig"_qs)); // capital sharp s
    EXPECT_FALSE(TextMatcher(u"ae"_qs).foundIn(u"\u00e4"_qs));
}

TEST(LibraryFiltering, CancellationCheckpoints)
{
    QList<FileEntry> files;
    for (int i = 0; i < 300; ++i)
        files.append(file(QStringLiteral("/c/f%1.txt").arg(i)));
    // The n-th question answers yes: the first 2 come at entries 0 and 256,
    // the 3rd after the walk, the 4th after the filter.
    for (int cancelAt = 1; cancelAt <= 5; ++cancelAt) {
        int asked = 0;
        const CancelCheck check = [&] { return ++asked == cancelAt; };
        if (cancelAt <= 4) {
            EXPECT_THROW(LibraryFiltering::evaluate(files, std::nullopt, false, {}, {}, {}, {},
                                                    false, check),
                         Cancelled)
                << cancelAt;
            EXPECT_EQ(asked, cancelAt);
        } else {
            EXPECT_EQ(
                LibraryFiltering::evaluate(files, std::nullopt, false, {}, {}, {}, {}, false, check)
                    .files.size(),
                300);
            EXPECT_EQ(asked, 4);
        }
    }
}
