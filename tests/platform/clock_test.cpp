// QUORVEL_NOW: which values set the program's clock, and what else happens.
#include "platform/Clock.h"

#include <gtest/gtest.h>

TEST(Clock, QuorvelNowSetsTheClockToALocalMomentOrIsIgnored)
{
    struct Row {
        const char* value;
        QDateTime expected; // invalid: not a moment, the local time is used
    };
    const QDate day(2026, 12, 11);
    const Row rows[] = {
        {"2026-12-11T10:30", {day, QTime(10, 30)}},
        {"2026-12-11T10:30:15", {day, QTime(10, 30, 15)}},
        {" 2026-12-11 23:59 ", {day, QTime(23, 59)}},
        {"2026-12-11", {}},
        {"2026-13-11T10:30", {}},
        {"2026-12-11T25:00", {}},
        {"завтра", {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.value);
        const std::optional<QDateTime> at = Clock::ParseSetting(QString::fromUtf8(row.value));
        ASSERT_EQ(at.has_value(), row.expected.isValid());
        if (at) {
            EXPECT_EQ(*at, row.expected);
            EXPECT_EQ(at->timeSpec(), Qt::LocalTime);
        }

        qputenv(Clock::kVariable, row.value);
        const QDateTime before = QDateTime::currentDateTime();
        const QDateTime now = Clock::Now();
        if (row.expected.isValid())
            EXPECT_EQ(now, row.expected);
        else
            EXPECT_LE(std::abs(before.secsTo(now)), 1);
    }
    qunsetenv(Clock::kVariable);
}
