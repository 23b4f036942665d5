#include "workspace/timeline_group.h"

#include <gtest/gtest.h>

namespace {

FileEntry modifiedAt(const QString& name, const QDateTime& when)
{
    return FileEntry::indexed(QStringLiteral("/t/") + name, 1, when, false);
}

} // namespace

TEST(TimelineGroup, GroupsByLocalDayLatestFirstKeepingOrder)
{
    const QTimeZone berlin("Europe/Berlin");
    ASSERT_TRUE(berlin.isValid());
    const QDateTime lateEvening(QDate(2026, 5, 3), QTime(23, 59), berlin);
    const QDateTime earlyMorning(QDate(2026, 5, 4), QTime(0, 1), berlin);
    const QDateTime noon(QDate(2026, 5, 4), QTime(12, 0), berlin);
    const auto groups = TimelineGroup::byDay(
        {modifiedAt("a", lateEvening), modifiedAt("b", noon), modifiedAt("c", earlyMorning)},
        berlin);
    ASSERT_EQ(groups.size(), 2);
    EXPECT_EQ(groups[0].day, QDateTime(QDate(2026, 5, 4), QTime(0, 0), berlin));
    ASSERT_EQ(groups[0].files.size(), 2);
    EXPECT_EQ(groups[0].files[0].name, "b"); // order of the input within a day
    EXPECT_EQ(groups[0].files[1].name, "c");
    EXPECT_EQ(groups[1].files[0].name, "a");
    EXPECT_TRUE(TimelineGroup::byDay({}, berlin).isEmpty());
}

TEST(TimelineGroup, DaysAcrossClockChanges)
{
    // The 25-hour day when summer time ends is still one day.
    const QTimeZone berlin("Europe/Berlin");
    const QDateTime first(QDate(2026, 10, 25), QTime(0, 30), berlin);
    const QDateTime last(QDate(2026, 10, 25), QTime(23, 30), berlin);
    EXPECT_EQ(TimelineGroup::byDay({modifiedAt("a", first), modifiedAt("b", last)}, berlin).size(),
              1);

    // Where summer time started at midnight, the day began at 01:00.
    const QTimeZone saoPaulo("America/Sao_Paulo");
    ASSERT_TRUE(saoPaulo.isValid());
    const QDateTime morning(QDate(2018, 11, 4), QTime(10, 0), saoPaulo);
    const QDateTime evening(QDate(2018, 11, 3), QTime(23, 30), saoPaulo);
    const auto groups =
        TimelineGroup::byDay({modifiedAt("m", morning), modifiedAt("e", evening)}, saoPaulo);
    ASSERT_EQ(groups.size(), 2);
    EXPECT_EQ(groups[0].day.toTimeZone(saoPaulo).time(), QTime(1, 0));
    EXPECT_EQ(groups[0].day.toTimeZone(saoPaulo).date(), QDate(2018, 11, 4));
    EXPECT_EQ(groups[0].day.secsTo(morning), 9 * 3600);
    EXPECT_EQ(groups[1].files[0].name, "e");
}
