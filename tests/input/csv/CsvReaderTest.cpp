#include "CsvTestFiles.h"

#include "app/LogLoading.h"
#include "app/Program.h"
#include "convert/DatePattern.h"
#include "input/csv/CsvProfiles.h"
#include "input/csv/CsvReader.h"
#include "platform/HeadlessPlatform.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace fixtally;

namespace {

double At(int hour, int minute, int second, int ms = 0) {
    return DayNumberFromCalendar({2014, 5, 17, hour, minute, second, ms});
}

struct Loaded {
    HeadlessPlatform Ui;
    Program P{Ui};
    int Result = 0;

    explicit Loaded(const std::string& path) {
        AddDefaultProfiles(P.Settings);
        P.Store.Replace();
        P.Store.Append(FixRecord{}); // a previous log
        P.Settings.DateFormat = "yyyy/mm/dd";
        P.Log.LastFixTime = 12345;
        Result = ReadCsvLog(P, path);
    }
    FixRecord Fix(std::size_t i) const { return P.Store.At(i); }
};

// A logger CSV of n fixes one second apart.
std::string GeneratedLog(int n) {
    std::string text = "DATE,TIME,LATITUDE,LONGITUDE,HEIGHT\r\n";
    for (int i = 0; i < n; ++i) {
        const int s = i % 60, m = (i / 60) % 60, h = 10 + i / 3600;
        char line[96];
        std::snprintf(line, sizeof line, "2014/05/17,%02d:%02d:%02d,35.%06d,139.%06d,45.%d\r\n", h,
                      m, s, 658099 + i % 7, 741357 + i % 5, i % 10);
        text += line;
    }
    return text;
}

} // namespace

TEST(CsvReader, LoggerFixtures) {
    struct Case {
        const char* File;
        const char* Profile;
        int Count;
        double First, Last; // CountRange
    } cases[] = {
        {"csv/wintec_tmx.csv", "Wintec", 4, At(19, 30, 0), At(19, 30, 3)}, // TZ=UTC: no shift
        {"csv/v900_columbus.csv", "V-900, VGPS-900", 4, At(23, 59, 58),
         DayNumberFromCalendar({2014, 5, 18, 0, 0, 3, 0})},
        {"csv/m241_preamble.csv", "M-241 Ver1.13", 5, At(10, 30, 0), At(10, 30, 4)},
        {"csv/gt730fls_repeats.csv", "GT-730FL-S", 3, At(10, 30, 0), At(10, 30, 2)},
        {"csv/igotu_trip.csv", "i-gotU", 3, At(10, 30, 0), At(10, 30, 10)},
        {"csv/spaced_columns.txt", "Default", 3, At(10, 30, 0), At(10, 30, 10)},
        {"csv/iso_zones.csv", "Default", 5, At(10, 30, 0), At(10, 30, 4)},
        {"csv/compact_mixed.csv", "Default", 4, At(10, 30, 0), At(10, 30, 3)},
        {"pos/kinematic_gpst.pos", "RTKLIB", 4, At(10, 30, 0), At(10, 30, 3)},
        {"pos/kinematic_utc.pos", "RTKLIB", 4, At(10, 30, 0), At(10, 30, 3)},
    };
    for (const Case& c : cases) {
        Loaded l(CsvTestData(c.File));
        const std::string name = std::filesystem::path(c.File).filename().string();
        EXPECT_EQ(l.Result, c.Count) << c.File;
        EXPECT_EQ(l.P.Store.Count(), static_cast<std::size_t>(c.Count)) << c.File;
        EXPECT_EQ(l.P.Main.StatusPanel0, " " + name + "  " + c.Profile + " CSV file ...");
        EXPECT_EQ(l.P.Main.StatusPanel1, "  Read:" + std::to_string(c.Count) + "rec.");
        EXPECT_NEAR(l.P.CountRange.Start, c.First, 1e-8) << c.File;
        EXPECT_NEAR(l.P.CountRange.End, c.Last, 1e-8) << c.File;
        EXPECT_EQ(l.P.FullRange.Start, l.P.CountRange.Start);
        EXPECT_EQ(l.P.RangeDialog.LabelTitl, "Full range (UTC)");
        EXPECT_EQ(l.P.Average.LabelRange, l.P.RangeDialog.LabelRange);
        EXPECT_EQ(l.P.Log.LastFixTime, l.Fix(c.Count - 1).Time) << c.File;
        EXPECT_EQ(l.P.Log.IsRtklibLog, std::string(c.Profile) == "RTKLIB");
        EXPECT_GE(l.P.Log.LogPosDecimals, 3);
        EXPECT_LE(l.P.Log.LogPosDecimals, 9);
    }
}

TEST(CsvReader, FixtureDetails) {
    {
        Loaded v900(CsvTestData("csv/v900_columbus.csv"));
        // The midnight backstep and the placeholder are gone; "S" negates the latitude.
        EXPECT_EQ(v900.P.RangeDialog.LabelRange, "2014/05/17 23:59:58 to 2014/05/18 00:00:03");
        EXPECT_DOUBLE_EQ(v900.Fix(3).Latitude, -33.95);
        EXPECT_EQ(v900.Fix(0).SatsUsed, 255);
        EXPECT_EQ(v900.Fix(0).FixQuality, u' ');
    }
    {
        Loaded m241(CsvTestData("csv/m241_preamble.csv"));
        EXPECT_EQ(m241.Fix(1).FixQuality, u'2');
        EXPECT_EQ(m241.Fix(2).FixQuality, u'6');
        EXPECT_EQ(m241.Fix(3).FixQuality, u'0');
        EXPECT_EQ(m241.Fix(2).SatsUsed, 7);
        EXPECT_DOUBLE_EQ(m241.Fix(0).Altitude, 45.2);
        EXPECT_EQ(m241.P.Log.LogAltDecimals, 2);
    }
    {
        // Both, the date only, the time only and neither of date and time compact.
        Loaded mixed(CsvTestData("csv/compact_mixed.csv"));
        for (int i = 0; i < 4; ++i) EXPECT_NEAR(mixed.Fix(i).Time, At(10, 30, i), 1e-9) << i;
    }
    {
        Loaded gt(CsvTestData("csv/gt730fls_repeats.csv"));
        EXPECT_DOUBLE_EQ(gt.Fix(1).Speed, 2.0); // already knots
    }
    {
        Loaded igotu(CsvTestData("csv/igotu_trip.csv"));
        EXPECT_DOUBLE_EQ(igotu.Fix(0).Speed, 1.0); // 1852 m/h
        EXPECT_DOUBLE_EQ(igotu.Fix(1).Speed, 2.0);
    }
    {
        Loaded rtk(CsvTestData("pos/kinematic_gpst.pos"));
        EXPECT_EQ(rtk.Fix(1).FixQuality, u'2');
        EXPECT_EQ(rtk.Fix(0).SatsUsed, 9);
        EXPECT_DOUBLE_EQ(rtk.Fix(3).Longitude, -139.613836972);
        EXPECT_DOUBLE_EQ(rtk.Fix(0).Altitude, 70.6836);
        EXPECT_TRUE(std::isnan(rtk.Fix(0).Hdop));
        EXPECT_TRUE(std::isnan(rtk.Fix(0).Speed));
    }
}

TEST(CsvReader, LeapSecondSetting) {
    HeadlessPlatform ui;
    Program p(ui);
    AddDefaultProfiles(p.Settings);
    p.Settings.LeapSecond = 18;
    ASSERT_EQ(ReadCsvLog(p, CsvTestData("pos/kinematic_gpst.pos")), 4);
    EXPECT_NEAR(p.Store.At(0).Time, At(10, 29, 58), 1e-8);
}

TEST(CsvReader, Failures) {
    {
        Loaded missing(CsvTestData("csv/does_not_exist.csv"));
        EXPECT_EQ(missing.Result, -1);
        EXPECT_EQ(missing.P.Main.StatusPanel0, "  Can not open: does_not_exist.csv");
        EXPECT_EQ(missing.P.Store.Count(), 0u);
    }
    {
        Loaded unknown(WriteTestLog("unknown.csv", "A,B,C\r\n1,2,3\r\n"));
        EXPECT_EQ(unknown.Result, -2);
        EXPECT_EQ(unknown.P.Main.StatusPanel0, "  Unknown CSV log file : unknown.csv");
        EXPECT_EQ(unknown.P.Store.Count(), 0u);
    }
    {
        Loaded empty(WriteTestLog("header_only.csv", "DATE,LATITUDE,LONGITUDE\r\n"));
        EXPECT_EQ(empty.Result, 0);
        EXPECT_EQ(empty.P.Main.StatusPanel0, " header_only.csv  Default CSV file ...");
        EXPECT_EQ(empty.P.Main.StatusPanel1, "  Read:0rec.");
        EXPECT_EQ(empty.P.Store.Count(), 0u);
        EXPECT_EQ(empty.P.Log.LastFixTime, 12345); // no fix stored
    }
}

TEST(CsvReader, LastLineWithoutLineEnd) {
    Loaded l(
        WriteTestLog("no_line_end.csv", "DATE,LATITUDE,LONGITUDE\n2014/05/17 10:30:00,35.1,139.2"));
    ASSERT_EQ(l.Result, 1);
    EXPECT_NEAR(l.Fix(0).Time, At(10, 30, 0), 1e-9);
}

TEST(CsvReader, ProgressAndAbort) {
    const std::string path = WriteTestLog("five_thousand.csv", GeneratedLog(5000));
    {
        Loaded l(path);
        EXPECT_EQ(l.Result, 5000);
        EXPECT_EQ(l.P.Main.StatusPanel0.rfind(" five_thousand.csv  Reading (", 0), 0u);
    }
    for (int calls : {2, 5}) {
        HeadlessPlatform ui;
        Program p(ui);
        AddDefaultProfiles(p.Settings);
        p.Store.Append(FixRecord{});
        // The first call comes with "Reading CSV file ...", then one per 1024 fixes.
        ui.InjectEscAfter(calls, &p.Log.AbortRequested);
        EXPECT_EQ(ReadCsvLog(p, path), -1) << calls;
        EXPECT_TRUE(p.Log.AbortRequested);
        EXPECT_EQ(p.Store.Count(), 0u) << calls; // no partial log stays behind
        EXPECT_EQ(ui.ProcessMessagesCalls, calls);
        EXPECT_EQ(p.Main.StatusPanel0.rfind(" five_thousand.csv  Reading (", 0), 0u);
    }
}

TEST(CsvReader, TaskbarProgress) {
    HeadlessPlatform ui;
    ui.TaskbarMax = 128;
    Program p(ui);
    AddDefaultProfiles(p.Settings);
    ASSERT_EQ(ReadCsvLog(p, WriteTestLog("taskbar.csv", GeneratedLog(2100))), 2100);
    EXPECT_EQ(ui.TaskbarValue, 128); // the whole file read
}

TEST(CsvReader, BadInput) {
    std::string wide = "DATE,LATITUDE,LONGITUDE";
    for (int i = 0; i < 37; ++i) wide += ",X" + std::to_string(i);
    std::string manyFields = "2014/05/17 10:30:00,35.1,139.2";
    for (int i = 0; i < 197; ++i) manyFields += "," + std::to_string(i);
    std::string garbage;
    for (int i = 0; i < 20000; ++i) garbage.push_back(static_cast<char>((i * 7919) % 256));
    struct Case {
        const char* Name;
        std::string Bytes;
        int Result;
    } cases[] = {
        {"bom.csv",
         "\xEF\xBB\xBF"
         "DATE,LATITUDE,LONGITUDE\r\n2014/05/17 10:30:00,35.1,139.2\r\n",
         1},
        {"cr_only.csv", "DATE,LATITUDE,LONGITUDE\r2014/05/17 10:30:00,35.1,139.2\r", 1},
        {"wide.csv", wide + "\n" + manyFields + "\n", 1},
        {"quoted.csv",
         "\"DATE\",\"LATITUDE\",\"LONGITUDE\"\n\"2014/05/17 10:30:00\",\"35.1\",\"139.2\"\n", -2},
        {"no_header.csv", "2014/05/17 10:30:00,35.1,139.2\n2014/05/17 10:30:01,35.1,139.2\n", -2},
        {"garbage.csv", garbage, -2},
        {"empty.csv", "", -2},
    };
    for (const Case& c : cases) {
        Loaded l(WriteTestLog(c.Name, c.Bytes));
        EXPECT_EQ(l.Result, c.Result) << c.Name;
    }
}

TEST(CsvReader, SettingsNeverReadStillKnowTheBuiltInProfiles) {
    HeadlessPlatform ui;
    Program p(ui);
    ASSERT_EQ(ReadCsvLog(p, CsvTestData("csv/gt730fls_repeats.csv")), 3);
    EXPECT_EQ(p.Main.StatusPanel0, " gt730fls_repeats.csv  GT-730FL-S CSV file ...");
    EXPECT_TRUE(p.Settings.CSV_Info.empty()); // the settings themselves are left alone
}

// A ".txt" logger CSV is not NMEA; the loading driver then reads it as CSV.
TEST(CsvReader, TxtFallbackThroughTheLoadingDriver) {
    HeadlessPlatform ui;
    Program p(ui);
    AddDefaultProfiles(p.Settings);
    const std::string path = CsvTestData("csv/spaced_columns.txt");
    p.Log.LogFileName = path;
    EXPECT_EQ(LoadLog(p, path), 3);
    EXPECT_EQ(p.Main.StatusPanel0, " Completed: spaced_columns.txt");
    EXPECT_EQ(p.Store.Count(), 3u);
    EXPECT_EQ(p.Log.LogPosDecimals, 4); // six decimals of degrees, as this log's texts show
}
