#include "convert/Conversions.h"
#include "convert/DatePattern.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <string>

using namespace fixtally;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// Day number of a date offset plus a time of day, built the way the conversions do.
double Day(double date, int h, int m, int s, int ms = 0) {
    return date + static_cast<double>(((h * 60 + m) * 60 + s) * 1000 + ms) / 86400000.0;
}

void ExpectSame(double expected, double actual) {
    if (std::isnan(expected))
        EXPECT_TRUE(std::isnan(actual)) << actual;
    else
        EXPECT_DOUBLE_EQ(expected, actual);
}

} // namespace

TEST(TextToInt, ReadsDecimalIntegersAndGivesZeroOtherwise) {
    struct Case {
        const char* text;
        int expected;
        bool outOfRange = false; // IntegerTextOutOfRange
    } cases[] = {
        {"12", 12},
        {" 12\t", 12},
        {"+7", 7},
        {"-3", -3},
        {"08", 8},
        {"2147483647", 2147483647},
        {"-2147483648", -2147483647 - 1},
        {"2147483648", 0, true}, // outside 32 bits
        {" -99999999999 ", 0, true},
        {"+99999999999", 0, true},
        {"99999999999x", 0},
        {"1.0", 0},
        {"", 0},
        {"abc", 0},
        {"12a", 0},
        {"0x1F", 0},
        {"+-1", 0},
        {"1 2", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(c.expected, TextToInt(c.text));
        EXPECT_EQ(c.outOfRange, IntegerTextOutOfRange(c.text));
    }
}

TEST(TextToFloat, GivesNaNForEmptyOrUnreadableAndZeroFloatGivesZero) {
    struct Case {
        const char* text;
        double asFloat; // TextToFloat
        double asZero;  // TextToZeroFloat
    } cases[] = {
        {"", kNaN, 0},       {"   ", kNaN, 0},     {" 2.5 ", 2.5, 2.5}, {"\t2.5\r", 2.5, 2.5},
        {"1.5", 1.5, 1.5},   {"1,5", kNaN, 0}, // no decimal comma, no thousands separator
        {"1 000", kNaN, 0},  {"-.5", -0.5, -0.5},  {"5.", 5, 5},        {"+3", 3, 3},
        {"1e3", 1000, 1000}, {"1E-2", 0.01, 0.01}, {"inf", kNaN, 0},    {"nan", kNaN, 0},
        {"0x10", kNaN, 0},   {"1e999", kNaN, 0},   {"abc", kNaN, 0},    {".", kNaN, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        ExpectSame(c.asFloat, TextToFloat(c.text));
        ExpectSame(c.asZero, TextToZeroFloat(c.text));
    }
}

TEST(StrippedNumber, KeepsNumberCharactersAndCountsDecimals) {
    struct Case {
        const char* text;
        double expected;
        int decimals; // after the call, starting from 7
    } cases[] = {
        {"545.4M", 545.4, 1}, {"12.50 m", 12.5, 2},
        {" -12 ft", -12, 0},  {"1.5E3", 1500, 3}, // every character after the point counts
        {"12.5e3", 12.53, 2},                     // only the upper-case E is kept
        {"M", kNaN, 7},                           // nothing left: decimals untouched
        {"", kNaN, 7},        {"1.2.3", kNaN, 7},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        int decimals = 7;
        ExpectSame(c.expected, StrippedNumber(c.text, decimals));
        EXPECT_EQ(c.decimals, decimals);
    }
}

TEST(DateTimeFromText, ReadsMonthDayYearAndTimesWithTheFixedConventions) {
    // 2026-12-09 is day 46365, 1999-12-31 day 36525, 2070-01-01 day 62094.
    struct Case {
        const char* date;
        const char* time;
        double expected;
    } cases[] = {
        {"12/09/26", "12:00:00.000", 46365.5},
        {"12/09/2026", "12:00:00", 46365.5},
        {"12/9/2026", "5:06:07", Day(46365, 5, 6, 7)},
        {"12/09/2026", "", 46365},
        {"", "12:34:56", Day(0, 12, 34, 56)},
        // a leap second is the last second of the minute, no day is added
        {"", "23:59:60.500", Day(0, 23, 59, 59, 500)},
        {"12/09/26", "23:59:60", Day(46365, 23, 59, 59)},
        // fractions of one, two and three digits are milliseconds
        {"", "12:34:56.5", Day(0, 12, 34, 56, 500)},
        {"", "12:34:56.05", Day(0, 12, 34, 56, 50)},
        {"", "12:34:56.007", Day(0, 12, 34, 56, 7)},
        {"", "12:34:56.", Day(0, 12, 34, 56)},
        {"", "12:34:56.1234", 0}, // four digits are not shortened
        {"", "12:34", Day(0, 12, 34, 0)},
        {"", "1:02:03 PM", Day(0, 13, 2, 3)},
        {"", "12:30:00 am", Day(0, 0, 30, 0)},
        // date and time in one text, in either argument
        {"12/09/2026 05:06:07.25", "", Day(46365, 5, 6, 7, 250)},
        {"", "12/09/2026 05:06:07.25", Day(46365, 5, 6, 7, 250)},
        // invalid dates and times
        {"13/09/26", "12:00:00", 0},
        {"02/29/2000", "", 36585},
        {"02/29/2001", "", 0},
        {"00/10/26", "", 0},
        {"12-09-26", "", 0},
        {"09.12.2026", "", 0},
        {"", "24:00:00", 0},
        {"", "12:60:00", 0},
        {"", "12:00:60", 0},
        {"", "12:00:00 junk", 0},
        {"", "", 0}, // midnight without a date is "no time"
        {"abc", "12:00:00", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.date) + " | " + c.time);
        EXPECT_DOUBLE_EQ(c.expected, DateTimeFromText(c.date, c.time, 2026));
    }
}

TEST(DateTimeFromText, PlacesShortYearsInTheWindowAroundTheCurrentYear) {
    struct Case {
        int currentYear;
        const char* date;
        int year;
    } cases[] = {
        {2026, "12/31/99", 1999}, {2026, "01/01/70", 2070}, {2026, "01/01/76", 1976},
        {2026, "12/31/75", 2075}, {2026, "01/01/26", 2026}, {2026, "01/01/00", 2000},
        {2026, "01/01/5", 2005},  {2000, "01/01/50", 1950}, {2000, "01/01/49", 2049},
        {2026, "01/01/0099", 99}, {2026, "01/01/999", 999},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.date);
        double day = DateTimeFromText(c.date, "", c.currentYear);
        CalendarTime t;
        ASSERT_TRUE(CalendarFromDayNumber(day, t));
        EXPECT_EQ(c.year, t.Year);
    }
    // Without an explicit year the computer's current year decides.
    EXPECT_EQ(DateTimeFromText("06/15/40", "", CurrentCalendarYear()),
              DateTimeFromText("06/15/40", ""));
}

TEST(CoordinateFromText, ReadsDecimalAndSexagesimalFormsWithHemispheres) {
    const double dms = 35 + (39 + 29.1572 / 60) / 60;
    struct Case {
        const char* text;
        double expected;
    } cases[] = {
        {"N35 39 29.1572", dms},
        {"35\xC2\xB0"
         "39'29.1572\"N",
         dms},
        {"35 39 29.1572", dms},
        {"s35 39 29.1572", -dms},
        {"-139.5", -139.5},
        {"139.5W", -139.5},
        {"W139 30", -139.5},
        {"E139.5", 139.5},
        {"139.5e", 139.5},
        {"+35.5", 35.5},
        {" 35.5 ", 35.5},
        {"1E2", 100},
        {"35,30", 35.5},
        {"35 30 15 15", 35 + (30 + 30.0 / 60) / 60}, // seconds keep adding up
        {"", kNaN},
        {"N", kNaN},
        {"abc", kNaN},
        {"35.5.5", kNaN},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        double value = CoordinateFromText(c.text);
        if (std::isnan(c.expected))
            EXPECT_TRUE(std::isnan(value)) << value;
        else
            EXPECT_NEAR(c.expected, value, 1e-12);
    }
}

TEST(AltitudeFromText, ReadsUnitsFeetMilesAndNauticalMiles) {
    struct Case {
        const char* text;
        double expected;
    } cases[] = {
        {"100ft", 30.48}, {"1 nm", 1852}, {"2 MI", 3218.688}, {"12.5 m", 12.5}, {" -3.2 ", -3.2},
        {"1e3", 1000},    {"abc", kNaN},  {"", kNaN},         {"ft", kNaN},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        double value = AltitudeFromText(c.text);
        if (std::isnan(c.expected))
            EXPECT_TRUE(std::isnan(value)) << value;
        else
            EXPECT_NEAR(c.expected, value, 1e-9);
    }
}

TEST(FormatDms, WritesDegreesMinutesSecondsWithRounding) {
    // 10 59' 59.9999999" has no rounding aid for 6 decimals and still formats as 60 seconds.
    const double almostEleven = 10 + 3599.9999999 / 3600;
    const double closerToEleven = 10 + 3599.9999999999 / 3600;
    struct Case {
        double value;
        int decimals;
        const char* expected;
    } cases[] = {
        {35.658099, 3,
         " 35\xC2\xB0"
         "39'29.156\""},
        {-35.658099, 3,
         " 35\xC2\xB0"
         "39'29.156\""},
        {10.999999999, 3,
         " 11\xC2\xB0"
         "00'00.000\""}, // the aid carries into minutes and degrees
        {139.5, 1,
         "139\xC2\xB0"
         "30'00.0\""},
        {5.5025, 2,
         "  5\xC2\xB0"
         "30'09.00\""},
        {almostEleven, 6,
         " 10\xC2\xB0"
         "59'59.999999\""}, // never 60 seconds
        {closerToEleven, 8,
         " 10\xC2\xB0"
         "59'59.9999999\""}, // the replacement text has ten characters
        {35.5, 0,
         " 35\xC2\xB0"
         "30'00\""},
        {0, 4,
         "  0\xC2\xB0"
         "00'00.0000\""},
        {kNaN, 3, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(c.expected, FormatDms(c.value, c.decimals));
    }
}

TEST(FormatDmsHemisphere, AppendsTheLetterOfTheSign) {
    EXPECT_EQ(" 35\xC2\xB0"
              "39'29.156\"N",
              FormatDmsHemisphere(35.658099, 3, "NS"));
    EXPECT_EQ(" 35\xC2\xB0"
              "39'29.156\"S",
              FormatDmsHemisphere(-35.658099, 3, "NS"));
    EXPECT_EQ("139\xC2\xB0"
              "30'00.000\"W",
              FormatDmsHemisphere(-139.5, 3, "EW"));
    EXPECT_EQ("", FormatDmsHemisphere(kNaN, 3, "EW"));
}

// Conversions follow the fixed conventions even when the process runs in a locale
// with a decimal comma.
TEST(Conversions, IgnoreTheProcessLocale) {
    const char* german = nullptr;
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE", "German"})
        if (std::setlocale(LC_ALL, name) != nullptr) {
            german = name;
            break;
        }
    if (german == nullptr) GTEST_SKIP() << "no German locale installed";
    std::string decimalPoint = std::localeconv()->decimal_point;

    double parsed = TextToFloat("2.5");
    double comma = TextToFloat("2,5");
    int decimals = 0;
    double stripped = StrippedNumber("545.4M", decimals);
    double date = DateTimeFromText("12/09/26", "12:00:00.500", 2026);
    double coordinate = CoordinateFromText("N35 39 29.1572");
    std::string dms = FormatDms(35.658099, 3);
    std::string pattern = FormatDatePattern(46365.5, "dd.mm.yyyy hh:nn:ss");
    std::setlocale(LC_ALL, "C");

    EXPECT_EQ(",", decimalPoint) << german;
    EXPECT_EQ(2.5, parsed);
    EXPECT_TRUE(std::isnan(comma));
    EXPECT_EQ(545.4, stripped);
    EXPECT_DOUBLE_EQ(Day(46365, 12, 0, 0, 500), date);
    EXPECT_NEAR(35.658099, coordinate, 1e-6);
    EXPECT_EQ(" 35\xC2\xB0"
              "39'29.156\"",
              dms);
    EXPECT_EQ("09.12.2026 12:00:00", pattern);
}
