#include "day_window.h"
#include "media_filter.h"
#include "test_support.h"

#include <gtest/gtest.h>

namespace {

const QDateTime kNoon(QDate(2024, 5, 10), QTime(12, 0), Qt::UTC);

FileEntry file(const QString& name, qint64 size = 1, const QDateTime& modified = kNoon)
{
    return FileEntry::indexed(QStringLiteral("/lib/") + name, size, modified, false);
}

template <typename E> QStringList titles()
{
    QStringList result;
    for (E value : allCases<E>())
        result.append(rawValue(value));
    return result;
}

} // namespace

TEST(MediaFilter, TitlesAreExactAndInPickerOrder)
{
    using F = MediaFilter;
    EXPECT_EQ(titles<F::Sort>(), QStringList({"Newest first", "Oldest first", "Name",
                                              "Largest first", "Smallest first"}));
    EXPECT_EQ(titles<F::Size>(),
              QStringList({"Any size", "Under 10 MB", u"10\u2013100 MB"_qs, "Over 100 MB"}));
    EXPECT_EQ(titles<F::Orientation>(),
              QStringList({"Any orientation", "Landscape", "Portrait", "Square"}));
    EXPECT_EQ(titles<F::Resolution>(),
              QStringList({"Any resolution", "HD or larger", "4K or larger"}));
    EXPECT_EQ(titles<F::Duration>(), QStringList({"Any duration", "Under 1 minute",
                                                  u"1\u201310 minutes"_qs, "Over 10 minutes"}));
    // A hyphen is not the en dash of the title.
    EXPECT_FALSE(fromRawValue<F::Size>(u"10-100 MB"));
    EXPECT_EQ(fromRawValue<F::Duration>(u"1\u201310 minutes"), F::Duration::Medium);
    EXPECT_FALSE(fromRawValue<F::Sort>(u"name"));
}

TEST(MediaFilter, DefaultKeepsEverythingNewestFirstAndNeedsNoMetadata)
{
    const MediaFilter filter;
    EXPECT_FALSE(filter.needsMetadata());
    EXPECT_EQ(filter.format, QStringLiteral("All formats"));
    const QList<FileEntry> files{file("old.txt", 5, kNoon.addDays(-400)), file("new", 0, kNoon),
                                 file("mid.PNG", 1, kNoon.addSecs(-1))};
    EXPECT_EQ(namesOf(filter.apply(files, kNoon, {})), QStringList({"new", "mid.PNG", "old.txt"}));

    MediaFilter other;
    other.duration = MediaFilter::Duration::Long;
    EXPECT_TRUE(other.needsMetadata());
    EXPECT_NE(other, filter);
}

TEST(MediaFilter, SizeBandEdges)
{
    const QList<FileEntry> files{file("a", 9'999'999), file("b", 10'000'000),
                                 file("c", 100'000'000), file("d", 100'000'001)};
    MediaFilter filter;
    filter.sort = MediaFilter::Sort::Smallest;
    filter.size = MediaFilter::Size::Small;
    EXPECT_EQ(namesOf(filter.apply(files, kNoon, {})), QStringList({"a"}));
    filter.size = MediaFilter::Size::Medium;
    EXPECT_EQ(namesOf(filter.apply(files, kNoon, {})), QStringList({"b", "c"}));
    filter.size = MediaFilter::Size::Large;
    EXPECT_EQ(namesOf(filter.apply(files, kNoon, {})), QStringList({"d"}));
}

TEST(MediaFilter, MetadataNarrowing)
{
    const QList<FileEntry> files{file("wide.jpg"),    file("tall.jpg"),     file("square.jpg"),
                                 file("zero.jpg"),    file("almost4k.jpg"), file("clip60.mp4"),
                                 file("clip600.mp4"), file("clip601.mp4"),  file("unread.jpg")};
    const MediaMetadataMap metadata{
        {"/lib/wide.jpg", {1920, 1080, {}}},     {"/lib/tall.jpg", {1080, 1920, {}}},
        {"/lib/square.jpg", {100, 100, {}}},     {"/lib/zero.jpg", {0, 50, {}}},
        {"/lib/almost4k.jpg", {3840, 2159, {}}}, {"/lib/clip60.mp4", {640, 480, 60.0}},
        {"/lib/clip600.mp4", {640, 480, 600.0}}, {"/lib/clip601.mp4", {640, 480, 600.5}},
    };
    auto run = [&](auto set) {
        MediaFilter filter;
        filter.sort = MediaFilter::Sort::Name;
        set(filter);
        return namesOf(filter.apply(files, kNoon, metadata));
    };
    using F = MediaFilter;
    EXPECT_EQ(run([](F& f) { f.orientation = F::Orientation::Square; }), QStringList{"square.jpg"});
    EXPECT_EQ(run([](F& f) { f.orientation = F::Orientation::Portrait; }), QStringList{"tall.jpg"});
    EXPECT_EQ(
        run([](F& f) { f.orientation = F::Orientation::Landscape; }),
        QStringList({"almost4k.jpg", "clip60.mp4", "clip600.mp4", "clip601.mp4", "wide.jpg"}));
    EXPECT_EQ(run([](F& f) { f.resolution = F::Resolution::Hd; }),
              QStringList({"almost4k.jpg", "tall.jpg", "wide.jpg"}));
    EXPECT_TRUE(run([](F& f) { f.resolution = F::Resolution::Ultra; }).isEmpty());
    // Still images have no duration and drop out of every band.
    EXPECT_TRUE(run([](F& f) { f.duration = F::Duration::Short; }).isEmpty());
    EXPECT_EQ(run([](F& f) { f.duration = F::Duration::Medium; }),
              QStringList({"clip60.mp4", "clip600.mp4"}));
    EXPECT_EQ(run([](F& f) { f.duration = F::Duration::Long; }), QStringList{"clip601.mp4"});

    MediaFilter landscape;
    landscape.orientation = F::Orientation::Landscape;
    EXPECT_TRUE(landscape.apply(files, kNoon, {}).isEmpty());
}

TEST(MediaFilter, FormatAndAge)
{
    const QList<FileEntry> files{file("a.png", 1, kNoon.addSecs(-7 * 86400)),
                                 file("b.PNG", 1, kNoon.addSecs(-7 * 86400 - 1)),
                                 file("c.Png"),
                                 file("d.jpg"),
                                 file("noext"),
                                 file(".png")};
    MediaFilter filter;
    filter.sort = MediaFilter::Sort::Name;
    filter.format = QStringLiteral("PNG");
    EXPECT_EQ(namesOf(filter.apply(files, kNoon, {})), QStringList({"a.png", "b.PNG", "c.Png"}));
    filter.format = QStringLiteral("png");
    EXPECT_TRUE(filter.apply(files, kNoon, {}).isEmpty());
    filter.format = QString();
    EXPECT_EQ(namesOf(filter.apply(files, kNoon, {})), QStringList({".png", "noext"}));

    filter.format = MediaFilter::allFormats();
    filter.days = 7;
    const QStringList recent = namesOf(filter.apply(files, kNoon, {}));
    EXPECT_TRUE(recent.contains("a.png"));
    EXPECT_FALSE(recent.contains("b.PNG"));
    EXPECT_EQ(recent.size(), 5);
}

TEST(MediaFilter, SortOrdersAndTieBreaks)
{
    MediaFilter filter;
    // Equal dates: plain order, upper case first; names compared as composed text.
    const QList<FileEntry> sameDate{file("a"),
                                    file("B"),
                                    file(u"e\u0301"_qs),
                                    file(u"\u00e9"_qs),
                                    file(u"\U0001F600"_qs),
                                    file(u"\uFF21"_qs)};
    EXPECT_EQ(namesOf(filter.apply(sameDate, kNoon, {})),
              QStringList({"B", "a", u"e\u0301"_qs, u"\u00e9"_qs, u"\uFF21"_qs, u"\U0001F600"_qs}));
    filter.sort = MediaFilter::Sort::Oldest;
    const QList<FileEntry> dated{file("z", 1, kNoon.addDays(-1)), file("y"),
                                 file("x", 1, kNoon.addDays(-1))};
    EXPECT_EQ(namesOf(filter.apply(dated, kNoon, {})), QStringList({"x", "z", "y"}));

    filter.sort = MediaFilter::Sort::Name;
    const QList<FileEntry> numbered{file("file10"), file("File2"), file("file2"), file("file1")};
    // Natural order, and equal names under it keep their given order.
    EXPECT_EQ(namesOf(filter.apply(numbered, kNoon, {})),
              QStringList({"file1", "File2", "file2", "file10"}));

    const QList<FileEntry> sized{file("b", 5), file("c", 9), file("a", 5), file("A", 5)};
    filter.sort = MediaFilter::Sort::Largest;
    EXPECT_EQ(namesOf(filter.apply(sized, kNoon, {})), QStringList({"c", "A", "a", "b"}));
    filter.sort = MediaFilter::Sort::Smallest;
    EXPECT_EQ(namesOf(filter.apply(sized, kNoon, {})), QStringList({"A", "a", "b", "c"}));
}

TEST(MediaFilter, DaysKeepTheFirstInstantOfTheWindow)
{
    const QDateTime start = kNoon.addDays(-DayWindow::recentDays);
    const DayWindow recent(kNoon, DayWindow::recentDays);
    EXPECT_TRUE(recent.contains(start));
    EXPECT_TRUE(recent.contains(kNoon));
    EXPECT_FALSE(recent.contains(start.addMSecs(-1)));
    EXPECT_FALSE(recent.contains(QDateTime()));

    MediaFilter filter;
    filter.sort = MediaFilter::Sort::Name;
    filter.days = DayWindow::recentDays;
    const QList<FileEntry> files{file("edge", 1, start), file("before", 1, start.addMSecs(-1)),
                                 file("unknown", 1, QDateTime())};
    EXPECT_EQ(namesOf(filter.apply(files, kNoon, {})), QStringList{"edge"});
}
