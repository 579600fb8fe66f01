// A receiver standing on the antimeridian logs longitudes just east of +180 and just
// west of -180; its average and spread must be those of where it stands, metres apart.

#include "app/LogLoading.h"
#include "app/Program.h"
#include "platform/HeadlessPlatform.h"
#include "stats/Statistics.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

using namespace fixtally;

namespace {

FixRecord FixAt(double time, double latitude, double longitude) {
    FixRecord fix;
    fix.Time = time;
    fix.Latitude = latitude;
    fix.Longitude = longitude;
    fix.Altitude = 12;
    fix.FixQuality = u'1';
    return fix;
}

FixFilter Everything() {
    FixFilter filter;
    filter.Limits.HdopLimit = filter.Limits.VdopLimit = filter.Limits.PdopLimit = 100;
    filter.Limits.NmeaOperator = QualityAtLeast;
    filter.Limits.NmeaQuality = 0;
    filter.Range = {0, 1e6};
    return filter;
}

TEST(AveragePosition, LongitudesAroundTheFirstFix) {
    const double east = 179.99998, west = -179.99998;
    struct Case {
        const char* what;
        std::vector<double> longitudes;
        double expected;
    } cases[] = {
        {"east first", {east, west, east, west}, 180.0},
        {"west first", {west, east, west, east}, -180.0},
        {"mostly west", {west, west, west, east}, -179.99999},
        {"away from the antimeridian", {139.5, 139.7}, 139.6},
        {"across Greenwich", {-0.0001, 0.0003}, 0.0001},
    };
    for (const Case& c : cases) {
        FixStore store;
        store.Replace();
        double time = 46000;
        for (double longitude : c.longitudes) store.Append(FixAt(time += 1e-5, -16.8, longitude));
        const GeoPoint average = AveragePosition(store, Everything());
        EXPECT_NEAR(average.Longitude, c.expected, 1e-9) << c.what;
        EXPECT_LE(std::fabs(average.Longitude), 180.0) << c.what;
        EXPECT_DOUBLE_EQ(average.Latitude, -16.8) << c.what;
    }
}

TEST(AveragePosition, PlainMeanAwayFromTheAntimeridian) {
    // Bit for bit the plain sum: logs that never come near 180 degrees give what they did.
    FixStore store;
    store.Replace();
    const double longitudes[] = {139.7671251, 139.7671262, 139.7671239, 139.7671248};
    double sum = 0;
    for (double longitude : longitudes) {
        store.Append(FixAt(46000 + sum * 1e-9, 35.68, longitude));
        sum += longitude;
    }
    EXPECT_EQ(AveragePosition(store, Everything()).Longitude, sum / 4);
}

TEST(Antimeridian, LogAcrossMidnightCountsMetresNotTheEarth) {
    HeadlessPlatform ui;
    Program program(ui);
    program.Log.LogFileName = std::string(FIXTALLY_TEST_DATA) + "/nmea/antimeridian-midnight.nmea";
    ASSERT_EQ(LoadLogFile(program), 20);
    EXPECT_EQ(program.Main.tCenterEditH2drms, "4.08622m");
    EXPECT_EQ(program.Main.tCenterEditLonAve.substr(0, 10), "179\xC2\xB0"
                                                            "59'59");
    EXPECT_NE(program.Main.tCenterEditLonAve.find("E"), std::string::npos);
    EXPECT_NE(program.Main.LabelStatus.find("12/31/2026 23:59:50 to 1/1/2027 00:00:09"),
              std::string::npos);
}

} // namespace
