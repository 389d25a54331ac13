// Day numbers, clock values and weekday names.
#include "platform/cp1251.h"
#include "platform/dates.h"

#include <gtest/gtest.h>

namespace {

using platform::CivilDate;

TEST(Dates, DayZeroIsTheTwentyEighthOfDecember1800ASunday) {
    EXPECT_EQ(platform::dayNumber(1800, 12, 28), 0) << "day 0 itself means 'no date'";
    EXPECT_EQ(platform::dayNumber(1800, 12, 29), 1);
    EXPECT_EQ(platform::dayNumber(1801, 1, 1), 4);
    EXPECT_EQ(platform::weekday(0), 0);
    EXPECT_EQ(platform::weekday(platform::dayNumber(2026, 12, 8)), 2) << "a Tuesday";
    EXPECT_EQ(platform::weekday(platform::dayNumber(2026, 12, 6)), 0) << "a Sunday";
}

TEST(Dates, KnownDayNumbersAndRoundTrips) {
    EXPECT_EQ(platform::dayNumber(2000, 1, 1), 72687);
    EXPECT_EQ(platform::civilDate(72687), (CivilDate{2000, 1, 1}));
    EXPECT_EQ(platform::dayNumber(2000, 2, 29) + 1, platform::dayNumber(2000, 3, 1));
    EXPECT_EQ(platform::dayNumber(1900, 2, 28) + 1, platform::dayNumber(1900, 3, 1))
        << "1900 was not a leap year";
    for (std::int32_t day = 1; day < 90000; day += 37) {
        const CivilDate date = platform::civilDate(day);
        EXPECT_EQ(platform::dayNumber(date.year, date.month, date.day), day);
    }
}

TEST(Dates, ImpossibleDatesGiveZero) {
    EXPECT_EQ(platform::dayNumber(2025, 2, 29), 0);
    EXPECT_EQ(platform::dayNumber(2024, 13, 1), 0);
    EXPECT_EQ(platform::dayNumber(2024, 4, 31), 0);
    EXPECT_EQ(platform::dayNumber(1700, 1, 1), 0);
    EXPECT_EQ(platform::civilDate(0), CivilDate{});
    EXPECT_EQ(platform::civilDate(-5), CivilDate{});
}

TEST(Dates, WeekdayNamesOfTheRateBook) {
    const std::int32_t monday = platform::dayNumber(2026, 12, 7);
    EXPECT_EQ(platform::weekdayName(monday), platform::ru("Понедельник"));
    EXPECT_EQ(platform::weekdayName(monday + 5), platform::ru("Суббота"));
    EXPECT_EQ(platform::weekdayName(monday + 6), platform::ru("Воскресенье"));
    EXPECT_EQ(platform::weekdayName(0), "") << "an empty date has no name";
    EXPECT_LE(platform::weekdayName(monday + 6).size(), 11u) << "fits KUR:WEEKDAY";
}

TEST(Clock, HundredthsSinceMidnightPlusOne) {
    EXPECT_EQ(platform::clockValue(0, 0, 0), 1);
    EXPECT_EQ(platform::clockValue(14, 5, 0), (14 * 3600 + 5 * 60) * 100 + 1);
    EXPECT_EQ(platform::clockValue(23, 59, 59, 99), 8640000);
    EXPECT_EQ(platform::clockTime(platform::clockValue(9, 30, 15, 42)),
              (platform::ClockTime{9, 30, 15, 42}));
    EXPECT_EQ(platform::clockValue(24, 0, 0), 0) << "an impossible time gives no clock value";
    EXPECT_EQ(platform::clockTime(0), platform::ClockTime{});
    EXPECT_EQ(platform::clockTime(8640001), platform::ClockTime{});
}

TEST(Clock, TestsCanSetTheMoment) {
    platform::setTestNow(platform::dayNumber(2026, 12, 6), platform::clockValue(10, 0, 0));
    EXPECT_EQ(platform::today(), platform::dayNumber(2026, 12, 6));
    EXPECT_EQ(platform::clock(), 3600001);
    platform::clearTestNow();
    EXPECT_GT(platform::today(), platform::dayNumber(2026, 1, 1));
    EXPECT_GT(platform::clock(), 0);
}

}  // namespace
