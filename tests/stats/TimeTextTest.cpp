#include "stats/TimeText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>

using namespace fixtally;

namespace {

constexpr double Mar4 = 44259.0; // 2021-03-04
constexpr double Ms = 1.0 / 86400000.0;

constexpr double Clock(int h, int n, double s) {
    return (h * 3600 + n * 60 + s) / 86400.0;
}

} // namespace

TEST(FormatTimeFraction, FractionFollowsTheEndOfThePattern) {
    struct Case {
        double time;
        const char* pattern;
        const char* expected;
    } cases[] = {
        {Clock(12, 0, 0.1), "hh:nn:ss.", "12:00:00.1"},
        {Clock(12, 0, 10), "hh:nn:ss.", "12:00:10"}, // the point stops the stripping
        {Clock(5, 6, 7.5), "hh:nn:ss.", "05:06:07.5"},
        {Clock(5, 6, 7.12), "hh:nn:ss.", "05:06:07.12"},
        {Clock(5, 6, 7.007), "hh:nn:ss.", "05:06:07.007"},
        {Clock(5, 6, 7.789), "hh:nn:ss.z", "05:06:07.7"}, // cut, not rounded
        {Clock(5, 6, 7.789), "hh:nn:ss.zz", "05:06:07.78"},
        {Clock(5, 6, 7.789), "hh:nn:ss.zzz", "05:06:07.789"},
        {Clock(5, 6, 7.789), "hh:nn", "05:06"},
        {Mar4 + Clock(5, 6, 7.5), "  yyyy/mm/dd hh:nn:ss.", "  2021/03/04 05:06:07.5"},
        {Mar4 + Clock(5, 6, 7), "  dd.mm.yyyy hh:nn:ss.", "  04.03.2021 05:06:07"},
        {std::nan(""), "hh:nn:ss.", ""},
        {1e9, "hh:nn:ss.", ""}, // beyond the year 9999
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatTimeFraction(c.time, c.pattern), c.expected)
            << "pattern '" << c.pattern << "' time " << c.time;
}

TEST(AppendTimeFraction, AppendsOrLeavesTheTextAsItWas) {
    std::string line = "x,";
    EXPECT_TRUE(AppendTimeFraction(line, Clock(12, 0, 10), "hh:nn:ss."));
    EXPECT_EQ(line, "x,12:00:10"); // stripping stops at the point, not in the text before
    EXPECT_TRUE(AppendTimeFraction(line, Clock(5, 6, 7.789), ",hh:nn:ss.zz"));
    EXPECT_EQ(line, "x,12:00:10,05:06:07.78");
    EXPECT_FALSE(AppendTimeFraction(line, std::nan(""), ",hh:nn:ss."));
    EXPECT_EQ(line, "x,12:00:10,05:06:07.78");

    std::string zeros = "00";
    EXPECT_TRUE(AppendTimeFraction(zeros, 0, "."));
    EXPECT_EQ(zeros, "00");
}

TEST(FormatFixTime, DateInTheDateFormatThenTheTime) {
    struct Case {
        double time;
        const char* dateFormat;
        const char* expected;
    } cases[] = {
        {Mar4 + Clock(5, 6, 7.25), "yyyy/mm/dd", "2021/03/04 05:06:07.25"},
        {Clock(5, 6, 7.25), "yyyy/mm/dd", "05:06:07.25"}, // time of day: no date
        {1.0, "yyyy/mm/dd", "00:00:00"},
        {1.5, "yyyy/mm/dd", "1899/12/31 12:00:00"},
        {Mar4 + Clock(5, 6, 7), "m/d/yyyy", "3/4/2021 05:06:07"},
        {Mar4 + Clock(5, 6, 7), "dd.mm.yyyy", "04.03.2021 05:06:07"},
        {Mar4 + Clock(5, 6, 7), "d/m/yy", "4/3/21 05:06:07"},
        {Mar4 + Clock(5, 6, 7), "yyyy-mm-dd", "2021-03-04 05:06:07"},
        {Mar4 + Clock(5, 6, 7), "yyyy年mm月dd日", "2021年03月04日 05:06:07"},
        // Rounded to the millisecond as a whole: the date carries over midnight.
        {Mar4 + Clock(23, 59, 59.9996), "yyyy/mm/dd", "2021/03/05 00:00:00"},
        {std::nan(""), "yyyy/mm/dd", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatFixTime(c.time, c.dateFormat), c.expected)
            << "format " << c.dateFormat << " time " << c.time;
}

TEST(ParseFixTime, ReadsTheDateInTheOrderAndSeparatorOfTheDateFormat) {
    const double t = Mar4 + Clock(5, 6, 7);
    struct Case {
        const char* text;
        const char* dateFormat;
        double expected;
    } cases[] = {
        {"2021/03/04 05:06:07", "yyyy/mm/dd", t},
        {"  2021/03/04 05:06:07.25  ", "yyyy/mm/dd", t + 250 * Ms},
        {"04/03/2021 05:06:07", "dd/mm/yyyy", t}, // day first: 4 March
        {"3/4/2021 05:06:07", "m/d/yyyy", t},
        {"4/3/21 05:06:07", "d/m/yy", t},
        {"04.03.2021 05:06:07", "dd.mm.yyyy", t},
        {"04.03.2021 05:06:07.5", "dd.mm.yyyy", t + 500 * Ms},
        {"4.3.2021 05:06:07", "d.m.yyyy", t},
        {"04/03/2021 05:06:07", "dd.mm.yyyy", t}, // "/" typed under a "." format
        {"2021-03-04 05:06:07", "yyyy-mm-dd", t},
        {"2021年03月04日 05:06:07", "yyyy年mm月dd日", t},
        {"20210304 05:06:07", "yyyymmdd", t}, // no separators: the widths of the runs
        {"040321 05:06:07", "ddmmyy", t},
        {"2021/03/04 05:06:07", "yyyymmdd", t},
        {"04.03.2021 05:06:07", "DD.MM.YYYY", t}, // letters in either case
        {"2021/03/04", "yyyy/mm/dd", Mar4},       // a date alone is midnight
        // A time of day alone, also under a format whose separator is the decimal point.
        {"05:06:07", "yyyy/mm/dd", Clock(5, 6, 7)},
        {"05:06:07.5", "dd.mm.yyyy", Clock(5, 6, 7.5)},
        // Unreadable texts give 0.
        {"", "yyyy/mm/dd", 0},
        {"garbage", "yyyy/mm/dd", 0},
        {"2021/13/04 05:06:07", "yyyy/mm/dd", 0},
        {"2021/03/04T05:06:07", "yyyy/mm/dd", 0},
        {"05:06:07.1234", "yyyy/mm/dd", 0},
        {"04.03.2021 05:06:07", "yyyy/mm/dd", 0}, // "." date under a "/" format
    };
    for (const auto& c : cases) {
        double got = ParseFixTime(c.text, c.dateFormat);
        if (c.expected == 0)
            EXPECT_EQ(got, 0) << "'" << c.text << "' with " << c.dateFormat;
        else
            EXPECT_NEAR(got, c.expected, 0.01 * Ms) << "'" << c.text << "' with " << c.dateFormat;
    }
}

TEST(ParseFixTime, ReadsBackWhatFormatFixTimeWrote) {
    const char* formats[] = {"yyyy/mm/dd", "m/d/yyyy",   "dd/mm/yyyy",     "dd.mm.yyyy",
                             "d.m.yy",     "yyyy-mm-dd", "yyyy年mm月dd日", "yyyymmdd"};
    std::mt19937_64 random(20211);
    std::uniform_real_distribution<double> day(36526.0, 54000.0); // 2000 to 2047
    for (const char* format : formats) {
        for (int i = 0; i < 200; ++i) {
            double t = day(random);
            std::string text = FormatFixTime(t, format);
            double back = ParseFixTime(text, format);
            // The text carries whole milliseconds; a microsecond or two of arithmetic.
            EXPECT_LE(std::fabs(back - t), 0.502 * Ms) << text << " with " << format;
        }
        double timeOfDay = 0.123456789;
        EXPECT_NEAR(ParseFixTime(FormatFixTime(timeOfDay, format), format), timeOfDay, 0.502 * Ms)
            << format;
    }
}
