#include "input/csv/CsvFix.h"
#include "convert/DatePattern.h"
#include "fixdata/LoadedLog.h"
#include "input/csv/CsvHeader.h"
#include "input/csv/CsvProfiles.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <ctime>
#include <optional>

using namespace fixtally;

namespace {

const double May17_1030 = DayNumberFromCalendar({2014, 5, 17, 10, 30, 0, 0});
const double OneSecond = 1.0 / 86400;

ColumnMap MapOf(std::string_view header) {
    ColumnMap map;
    AnalyseHeaderLine(header, PrepareAliasLists(DefaultCsvItems()), map);
    return map;
}

// Decodes one data line under a header; nullopt when the line is skipped.
std::optional<CsvFixValues> Decode(std::string_view header, std::string_view line,
                                   ProfileParams params = {}, int leapSecond = 16,
                                   double previousTime = 0, bool rtklib = false) {
    const ColumnMap map = MapOf(header);
    LoadedLog log;
    log.IsRtklibLog = rtklib;
    CsvLineDecoder decoder(map, params, leapSecond, log);
    CsvFixValues values;
    if (!decoder.DecodeLine(line, previousTime, values)) return std::nullopt;
    return values;
}

// Sets TZ for one test and puts the previous value back.
class ScopedTimeZone {
public:
    explicit ScopedTimeZone(const char* zone) {
        if (const char* old = std::getenv("TZ")) old_ = old;
        setenv("TZ", zone, 1);
        tzset();
    }
    ~ScopedTimeZone() {
        if (old_) {
            setenv("TZ", old_->c_str(), 1);
        } else {
            unsetenv("TZ");
        }
        tzset();
    }

private:
    std::optional<std::string> old_;
};

} // namespace

TEST(CsvFix, DateAndTimeForms) {
    struct Case {
        const char* Header;
        const char* Line;
        double Time;
    } cases[] = {
        {"DATE,TIME,LAT,LON", "2014-05-17,10:30:00,35.1,139.2", May17_1030},
        {"DATE,LAT,LON", "2014/05/17 10:30:00,35.1,139.2", May17_1030},
        {"DATE,TIME,LAT,LON", "05/17/2014,10:30:00,35.1,139.2", May17_1030},
        {"DATE,TIME,LAT,LON", "20140517,103000,35.1,139.2", May17_1030},
        // Only one of the two compact: the other is left as it is.
        {"DATE,TIME,LAT,LON", "20140517,10:30:00,35.1,139.2", May17_1030},
        {"DATE,TIME,LAT,LON", "2014/05/17,103000,35.1,139.2", May17_1030},
        {"DATE,TIME,LAT,LON", "05/17/2014,103000.0,35.1,139.2", May17_1030},
        {"DATE,LAT,LON", "20140517 10:30:00,35.1,139.2", May17_1030},
        {"DATE,LAT,LON", "2014-05-17T10:30:00Z,35.1,139.2", May17_1030},
        {"DATE,LAT,LON", "2014-05-17T19:30:00+09:00,35.1,139.2", May17_1030},
        {"TIME,LAT,LON", "20140517T19:30:00+0900,35.1,139.2", May17_1030},
        {"TIME,LAT,LON", "2014-05-17T05:30:00-05:00,35.1,139.2", May17_1030},
        // A negative zone in a Date column keeps its sign.
        {"DATE,LAT,LON", "2014-05-17T05:30:00-05:00,35.1,139.2", May17_1030},
        // Compact ISO in a Date column.
        {"DATE,LAT,LON", "20140517T103000Z,35.1,139.2", May17_1030},
        // A compact time without a Date column is a time of day.
        {"TIME,LAT,LON", "103000,35.1,139.2", 10.5 / 24},
        {"TIME,LAT,LON", "10:30:00.5,35.1,139.2", 10.5 / 24 + 0.5 * OneSecond},
        // RTKLIB: date and time joined, GPS time 16 s ahead of UTC.
        {"%  GPST  latitude(deg) longitude(deg) height(m) Q ns",
         "2014/05/17 10:30:16.000   35.1   139.2   70.1   1   9", May17_1030},
        {"%  UTC  latitude(deg) longitude(deg) height(m) Q ns",
         "2014/05/17 10:30:00.000   35.1   139.2   70.1   1   9", May17_1030},
        // Three space-separated date numbers.
        {"*YYYY MM DD HH:MM:SS LAT.(DEG.) LON.(DEG.)", "2014 05 17 10:30:00 35.1 139.2",
         May17_1030},
        {"DATE,TIME,LAT,LON", "2014/13/17,10:30:00,35.1,139.2", 0},
        {"LAT,LON,HEIGHT", "35.1,139.2,45.0", 0},
    };
    for (const Case& c : cases) {
        const auto v = Decode(c.Header, c.Line);
        ASSERT_TRUE(v) << c.Line;
        EXPECT_NEAR(v->Time, c.Time, 1e-9) << c.Header << " | " << c.Line;
        EXPECT_DOUBLE_EQ(v->Latitude, 35.1) << c.Line;
    }
}

TEST(CsvFix, ShiftsLeaveAnUnreadableTimeAtZero) {
    const auto gpst = Decode("%  GPST  latitude(deg) longitude(deg)", "1316 518400.000 35.1 139.2");
    ASSERT_TRUE(gpst);
    EXPECT_EQ(gpst->Time, 0);
    ProfileParams local;
    local.AddLocalOffset = true;
    const ScopedTimeZone zone("Asia/Tokyo");
    const auto wintec = Decode("DATE,LAT,LON", "not a date,35.1,139.2", local);
    ASSERT_TRUE(wintec);
    EXPECT_EQ(wintec->Time, 0);
}

TEST(CsvFix, LocalTimesUseTheOffsetOfTheirOwnDate) {
    const ScopedTimeZone zone("Europe/Berlin");
    ProfileParams local;
    local.AddLocalOffset = true;
    const auto summer = Decode("DATE,LAT,LON", "2014/07/01 12:30:00,35.1,139.2", local);
    const auto winter = Decode("DATE,LAT,LON", "2014/01/15 12:30:00,35.1,139.2", local);
    ASSERT_TRUE(summer && winter);
    EXPECT_NEAR(summer->Time, DayNumberFromCalendar({2014, 7, 1, 10, 30, 0, 0}), 1e-9);
    EXPECT_NEAR(winter->Time, DayNumberFromCalendar({2014, 1, 15, 11, 30, 0, 0}), 1e-9);

    // JST is UTC + 9 h on any computer, Berlin's included.
    const auto jst = Decode("JST,LAT,LON", "2014/05/17 19:30:00,35.1,139.2");
    ASSERT_TRUE(jst);
    EXPECT_NEAR(jst->Time, May17_1030, 1e-9);
}

TEST(CsvFix, ColumnsToValues) {
    const char* header = "INDEX,RCR,DATE,TIME,VALID,LATITUDE,N/S,LONGITUDE,E/W,HEIGHT,SPEED,HDOP,"
                         "VDOP,PDOP,NSAT (USED/VIEW)";
    const auto v = Decode(header, "1,T,2014/05/17,10:30:00,DGPS,35.5,S,139.25,W,45.25 M,"
                                  "3.5 km/h,0.9,1.1,1.4,8(11)");
    ASSERT_TRUE(v);
    EXPECT_EQ(v->Quality, u'2');
    EXPECT_DOUBLE_EQ(v->Latitude, -35.5);
    EXPECT_DOUBLE_EQ(v->Longitude, -139.25);
    EXPECT_DOUBLE_EQ(v->Height, 45.25);
    EXPECT_DOUBLE_EQ(v->Speed, 3.5);
    EXPECT_DOUBLE_EQ(v->Hdop, 0.9);
    EXPECT_DOUBLE_EQ(v->Vdop, 1.1);
    EXPECT_DOUBLE_EQ(v->Pdop, 1.4);
    EXPECT_EQ(v->Satellites, 8);

    // "South" is not a hemisphere letter; missing columns stay absent.
    const auto south = Decode("LAT,N/S,LON", "35.5,South,139.25");
    ASSERT_TRUE(south);
    EXPECT_DOUBLE_EQ(south->Latitude, 35.5);
    EXPECT_TRUE(std::isnan(south->Height));
    EXPECT_TRUE(std::isnan(south->Hdop));
    EXPECT_EQ(south->Satellites, 255);
    // A count too large for an int is no count, not 0 satellites.
    const auto huge = Decode("LAT,LON,NSAT (USED/VIEW)", "35.5,139.25,99999999999(12)");
    ASSERT_TRUE(huge);
    EXPECT_EQ(huge->Satellites, 255);
    EXPECT_EQ(Decode("LAT,LON,NSAT (USED/VIEW)", "35.5,139.25,12(12)")->Satellites, 12);
    EXPECT_EQ(south->Quality, u' ');
    EXPECT_EQ(south->Time, 0);

    // A short line ends in empty fields.
    const auto shortLine = Decode(header, "1,T,2014/05/17,10:30:00,SPS,35.5");
    ASSERT_TRUE(shortLine);
    EXPECT_TRUE(std::isnan(shortLine->Longitude));
}

TEST(CsvFix, SkippedLines) {
    struct Case {
        const char* Line;
        bool Accepted;
    } cases[] = {
        {"5,139.25", false},                        // fewer than 10 characters
        {"*2014/05/17 10:30:00,35.1,139.2", false}, // a "*" line is never data
        {"2014/05/17 10:30:00,90,0", false},        // a logger's placeholder position
        {"2014/05/17 10:30:00,90,0.5", true},
        {"2014/05/17 10:30:00,no,position", true},       // stored, rejected later by the filter
        {"2014-05-17T10:30:00+99:00,35.1,139.2", false}, // a zone that does not convert
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Decode("DATE,LAT,LON", c.Line).has_value(), c.Accepted) << c.Line;
    }
}

TEST(CsvFix, MidnightBackstep) {
    ProfileParams params;
    params.SkipMidnightBackstep = true;
    const double before = DayNumberFromCalendar({2014, 5, 17, 23, 59, 0, 0});
    EXPECT_FALSE(Decode("DATE,LAT,LON", "2014/05/17 00:00:00,35.1,139.2", params, 16, before));
    EXPECT_TRUE(Decode("DATE,LAT,LON", "2014/05/17 00:00:00.5,35.1,139.2", params, 16, before));
    EXPECT_TRUE(Decode("DATE,LAT,LON", "2014/05/18 00:00:00,35.1,139.2", params, 16, before));
    params.SkipMidnightBackstep = false;
    EXPECT_TRUE(Decode("DATE,LAT,LON", "2014/05/17 00:00:00,35.1,139.2", params, 16, before));
}

TEST(CsvFix, RtklibQualityAndSatellites) {
    const char* header = "%  GPST  latitude(deg) longitude(deg) height(m) Q ns";
    ColumnMap map = MapOf(header);
    map[CsvRole::Nsat] = map[CsvRole::NS];
    map[CsvRole::NS] = 0;
    LoadedLog log;
    log.IsRtklibLog = true;
    ProfileParams params;
    CsvLineDecoder decoder(map, params, 18, log);
    CsvFixValues v;
    ASSERT_TRUE(decoder.DecodeLine("2014/05/17 10:30:18.000  -35.160871340  139.613833736 "
                                   "  70.6836   2   9",
                                   0, v));
    EXPECT_EQ(v.Quality, u'2');
    EXPECT_EQ(v.Satellites, 9);
    EXPECT_DOUBLE_EQ(v.Latitude, -35.160871340);
    EXPECT_NEAR(v.Time, May17_1030, 1e-9);
    EXPECT_EQ(log.LogPosDecimals, 7);
    EXPECT_EQ(log.LogAltDecimals, 4);
}

TEST(CsvFix, RecordFromValues) {
    CsvFixValues v;
    v.Time = May17_1030;
    v.Latitude = 35.1;
    v.Longitude = 139.2;
    v.Height = 100;
    v.Speed = 1.852;
    v.Quality = u'1';
    v.Satellites = 7;
    ProfileParams params;
    params.HeightInFeet = true;
    const ColumnMap withSpeed = MapOf("DATE,LAT,LON,HEIGHT,SPEED");
    FixRecord r = FixRecordFromCsv(v, withSpeed, params);
    EXPECT_DOUBLE_EQ(r.Altitude, 30.48);
    EXPECT_DOUBLE_EQ(r.Speed, 1.0);
    EXPECT_EQ(r.SatsUsed, 7);
    EXPECT_EQ(r.FixQuality, u'1');
    EXPECT_EQ(r.SatsExtra, 255);
    EXPECT_EQ(r.DgpsFlag, 0);
    r = FixRecordFromCsv(v, MapOf("DATE,LAT,LON"), ProfileParams{});
    EXPECT_TRUE(std::isnan(r.Speed));
    EXPECT_DOUBLE_EQ(r.Altitude, 100);
}
