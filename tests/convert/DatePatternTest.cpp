#include "convert/DatePattern.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace fixtally;

namespace {
// 2021-03-04 (a Thursday) 05:06:07.250
const double kSample = 44259 + (((5 * 60 + 6) * 60 + 7) * 1000 + 250) / 86400000.0;
} // namespace

TEST(FormatDatePattern, WritesEveryPatternLetter) {
    struct Case {
        double day;
        const char* pattern;
        const char* expected;
    } cases[] = {
        {kSample, "yyyy/mm/dd hh:nn:ss.zzz", "2021/03/04 05:06:07.250"},
        {kSample, "m/d/yyyy", "3/4/2021"},
        {kSample, "dd.mm.yy", "04.03.21"},
        {kSample, "d/m/y", "4/3/21"},
        {kSample, "YYYY-MM-DD", "2021-03-04"}, // letters in either case
        {kSample, "h:n:s.z", "5:6:7.250"},
        {kSample, "hh:nn:ss.", "05:06:07."},
        {kSample, "d mmm yyyy", "4 Mar 2021"},
        {kSample, "dddd, mmmm d", "Thursday, March 4"},
        {kSample, "ddd", "Thu"},
        {kSample, "'day' d \"of\" m", "day 4 of 3"}, // quoted text is copied
        {kSample, "yyyy_mm_dd T", "2021_03_04 T"},
        {1.5, "yyyy/mm/dd hh:nn:ss", "1899/12/31 12:00:00"},
        {0, "yyyy/mm/dd hh:nn:ss", "1899/12/30 00:00:00"},
        {0.75, "hh:nn:ss", "18:00:00"},
        {36585, "yyyy-mm-dd dddd", "2000-02-29 Tuesday"},
        {-693593, "yyyy/mm/dd", "0001/01/01"},
        {2958465.5, "yyyy/mm/dd hh", "9999/12/31 12"},
        {-1.25, "yyyy/mm/dd hh:nn", "1899/12/29 06:00"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pattern);
        EXPECT_EQ(c.expected, FormatDatePattern(c.day, c.pattern));
    }
}

TEST(FormatDatePattern, RoundsToTheMillisecondAcrossMidnight) {
    // 0.4 ms before midnight of 2026-12-09 is midnight of the 10th.
    double day = 46365 + 86399999.6 / 86400000.0;
    EXPECT_EQ("2026/12/10 00:00:00.000", FormatDatePattern(day, "yyyy/mm/dd hh:nn:ss.zzz"));
    day = 46365 + 86399999.4 / 86400000.0;
    EXPECT_EQ("2026/12/09 23:59:59.999", FormatDatePattern(day, "yyyy/mm/dd hh:nn:ss.zzz"));
    // Before 1899-12-30 the day number counts down but the time of day still counts up:
    // 0.4 ms before midnight of 1899-12-28 is midnight of the 29th.
    day = -2 - 86399999.6 / 86400000.0;
    EXPECT_EQ("1899/12/29 00:00:00.000", FormatDatePattern(day, "yyyy/mm/dd hh:nn:ss.zzz"));
    day = -0.9999999999;
    EXPECT_EQ("1899/12/31 00:00:00.000", FormatDatePattern(day, "yyyy/mm/dd hh:nn:ss.zzz"));
}

TEST(FormatDatePattern, GivesEmptyTextForDayNumbersWithoutADate) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (double day : {nan, std::numeric_limits<double>::infinity(), -1e9, 3e6, 1e300}) {
        SCOPED_TRACE(day);
        EXPECT_EQ("", FormatDatePattern(day, "yyyy/mm/dd"));
        std::string out = "kept";
        EXPECT_FALSE(AppendDatePattern(out, day, "yyyy"));
        EXPECT_EQ("kept", out);
    }
    std::string out = "at ";
    EXPECT_TRUE(AppendDatePattern(out, kSample, "hh:nn"));
    EXPECT_EQ("at 05:06", out);
}

TEST(DayNumbers, RoundTripEveryFewDaysOverTheWholeRange) {
    for (int day = -693593; day <= 2958465; day += 97) {
        CalendarTime t;
        ASSERT_TRUE(CalendarFromDayNumber(day, t)) << day;
        ASSERT_EQ(day, DayNumberFromDate(t.Year, t.Month, t.Day)) << day;
        // Before 1899-12-30 the time of day still counts forward from midnight.
        t.Hour = 6;
        t.Millisecond = 5;
        CalendarTime back;
        ASSERT_TRUE(CalendarFromDayNumber(DayNumberFromCalendar(t), back)) << day;
        ASSERT_EQ(t.Day, back.Day) << day;
        ASSERT_EQ(6, back.Hour) << day;
        ASSERT_EQ(5, back.Millisecond) << day;
    }
}

TEST(DayNumbers, RejectDatesAndTimesThatDoNotExist) {
    EXPECT_EQ(46365, DayNumberFromDate(2026, 12, 9));
    EXPECT_EQ(36585, DayNumberFromDate(2000, 2, 29));
    struct Case {
        int y, mo, d;
    } badDates[] = {{2001, 2, 29}, {1900, 2, 29}, {2026, 13, 1}, {2026, 0, 1},
                    {2026, 4, 31}, {0, 1, 1},     {10000, 1, 1}, {2026, 1, 0}};
    for (const auto& c : badDates) EXPECT_TRUE(std::isnan(DayNumberFromDate(c.y, c.mo, c.d)));

    CalendarTime t{2026, 12, 9, 23, 59, 59, 999};
    EXPECT_DOUBLE_EQ(46365 + 86399999 / 86400000.0, DayNumberFromCalendar(t));
    for (auto change :
         {+[](CalendarTime& x) { x.Hour = 24; }, +[](CalendarTime& x) { x.Minute = 60; },
          +[](CalendarTime& x) { x.Second = 60; }, +[](CalendarTime& x) { x.Millisecond = 1000; },
          +[](CalendarTime& x) { x.Hour = -1; }}) {
        CalendarTime bad = t;
        change(bad);
        EXPECT_TRUE(std::isnan(DayNumberFromCalendar(bad)));
    }
}
