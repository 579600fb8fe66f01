#include "stats/CountRange.h"
#include "stats/TimeText.h"

#include <gtest/gtest.h>

#include <string>

using namespace fixtally;

namespace {

constexpr double Mar4 = 44259.0; // 2021-03-04
constexpr double Ms = 1.0 / 86400000.0;
constexpr double Hour = 1.0 / 24;

constexpr double Clock(int h, int n, double s) {
    return (h * 3600 + n * 60 + s) / 86400.0;
}

const TimeRange Full{Mar4 + Clock(5, 0, 0), Mar4 + Clock(8, 0, 0)};

} // namespace

TEST(SnapToBound, OnlyWithinHalfAMillisecond) {
    const double bound = Mar4 + Clock(5, 0, 0) + 0.3 * Ms;
    struct Case {
        double time;
        double expected;
    } cases[] = {
        {bound - 0.3 * Ms, bound},
        {bound + 0.49 * Ms, bound},
        {bound - 0.49 * Ms, bound},
        {bound, bound},
        {bound + 0.6 * Ms, bound + 0.6 * Ms},
        {bound - 1.0 * Ms, bound - 1.0 * Ms},
        {0, 0},
    };
    for (const auto& c : cases) EXPECT_EQ(SnapToBound(c.time, bound), c.expected) << c.time;
}

// Bounds with a part below the millisecond (a GPS-time log shifted by the leap seconds,
// for example): the texts written for them must read back as the bounds themselves.
TEST(ParseRange, BoundTextsReadBackAsTheBounds) {
    for (double fraction : {0.3, 0.5, 0.7, 0.9999}) {
        TimeRange full{Mar4 + Clock(5, 0, 0) + fraction * Ms,
                       Mar4 + Clock(8, 0, 1) + fraction * Ms};
        std::string start = FormatFixTime(full.Start, "yyyy/mm/dd");
        std::string end = FormatFixTime(full.End, "yyyy/mm/dd");
        EXPECT_EQ(ParseRangeStart(start, full, "yyyy/mm/dd"), full.Start) << start;
        EXPECT_EQ(ParseRangeEnd(end, full, "yyyy/mm/dd"), full.End) << end;

        std::string clampedStart = start, clampedEnd = end;
        ClampRangeEdits(clampedStart, clampedEnd, full, "yyyy/mm/dd");
        EXPECT_EQ(clampedStart, start);
        EXPECT_EQ(clampedEnd, end);
    }
}

TEST(ParseRange, OtherTimesAreNotMoved) {
    // A millisecond inside the range stays where the user put it; only the matching
    // bound is used (a start text equal to the final bound is not snapped to it).
    EXPECT_EQ(ParseRangeStart("2021/03/04 05:00:00.001", Full, "yyyy/mm/dd"),
              ParseFixTime("2021/03/04 05:00:00.001", "yyyy/mm/dd"));
    EXPECT_EQ(ParseRangeEnd("2021/03/04 07:59:59.999", Full, "yyyy/mm/dd"),
              ParseFixTime("2021/03/04 07:59:59.999", "yyyy/mm/dd"));
    EXPECT_EQ(ParseRangeStart("garbage", Full, "yyyy/mm/dd"), 0);
}

TEST(ClampRangeEdits, ReplacesUnreadableAndOutOfRangeTextsByTheBounds) {
    const std::string startBound = "2021/03/04 05:00:00";
    const std::string endBound = "2021/03/04 08:00:00";
    struct Case {
        const char* start;
        const char* final;
        std::string expectedStart;
        std::string expectedFinal;
    } cases[] = {
        {"2021/03/04 06:00:00", "2021/03/04 07:00:00", "2021/03/04 06:00:00",
         "2021/03/04 07:00:00"},
        {"", "", startBound, endBound},
        {"nonsense", "2021/13/01 07:00:00", startBound, endBound},
        {"2021/03/04 04:59:59.999", "2021/03/04 08:00:00.001", startBound, endBound},
        {"2021/03/04 08:00:00.001", "2021/03/04 04:59:59", startBound, endBound},
        // A time of day without a date in a dated log is below 1: out of range.
        {"06:00:00", "07:00:00", startBound, endBound},
        // The bounds themselves are inside.
        {"2021/03/04 05:00:00", "2021/03/04 08:00:00", startBound, endBound},
        // A start later than the end is left for the count to find nothing.
        {"2021/03/04 07:00:00", "2021/03/04 06:00:00", "2021/03/04 07:00:00",
         "2021/03/04 06:00:00"},
    };
    for (const auto& c : cases) {
        std::string start = c.start, final = c.final;
        ClampRangeEdits(start, final, Full, "yyyy/mm/dd");
        EXPECT_EQ(start, c.expectedStart) << "start '" << c.start << "'";
        EXPECT_EQ(final, c.expectedFinal) << "final '" << c.final << "'";
    }
}

TEST(ClampRangeEdits, KeepsValidTextsOfAFormatWithoutSlashes) {
    std::string start = "04.03.2021 06:00:00", final = "04.03.2021 07:30:00.5";
    ClampRangeEdits(start, final, Full, "dd.mm.yyyy");
    EXPECT_EQ(start, "04.03.2021 06:00:00");
    EXPECT_EQ(final, "04.03.2021 07:30:00.5");

    start = "04.03.2021 04:00:00";
    final = "05.03.2021 07:00:00";
    ClampRangeEdits(start, final, Full, "dd.mm.yyyy");
    EXPECT_EQ(start, "04.03.2021 05:00:00");
    EXPECT_EQ(final, "04.03.2021 08:00:00");
}

TEST(ClampRangeEdits, TimeOfDayLogs) {
    TimeRange full{Clock(5, 0, 0), Clock(6, 0, 0)};
    std::string start = "05:30:00", final = "07:00:00";
    ClampRangeEdits(start, final, full, "yyyy/mm/dd");
    EXPECT_EQ(start, "05:30:00");
    EXPECT_EQ(final, "06:00:00");
}

TEST(RangeText, JoinsTheTwoTimes) {
    EXPECT_EQ(RangeText(Full, "yyyy/mm/dd"), "2021/03/04 05:00:00 to 2021/03/04 08:00:00");
    EXPECT_EQ(RangeText({Full.Start, Full.Start + Hour + 250 * Ms}, "dd.mm.yyyy"),
              "04.03.2021 05:00:00 to 04.03.2021 06:00:00.25");
}
