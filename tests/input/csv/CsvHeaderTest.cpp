#include "CsvTestFiles.h"

#include "fixdata/LoadedLog.h"
#include "input/LogLineReader.h"
#include "input/csv/CsvHeader.h"
#include "input/csv/CsvProfiles.h"

#include <gtest/gtest.h>

using namespace fixtally;

namespace {

struct Expected {
    CsvRole Role;
    int Position;
};

ColumnMap Analyse(std::string_view line, bool& recognised) {
    ColumnMap map;
    recognised = AnalyseHeaderLine(line, PrepareAliasLists(DefaultCsvItems()), map);
    return map;
}

} // namespace

TEST(CsvHeader, HeaderLineForms) {
    struct Case {
        const char* Line;
        bool Recognised;
        HeaderForm Form;
        std::vector<Expected> Positions;
    } cases[] = {
        {"%  GPST                  latitude(deg) longitude(deg)  height(m)   Q  ns   sdn(m)",
         true,
         HeaderPercent,
         {{CsvRole::Date, 1},
          {CsvRole::Latitude, 2},
          {CsvRole::Longitude, 3},
          {CsvRole::Height, 4},
          {CsvRole::Valid, 5},
          {CsvRole::NS, 6}}},
        // A comma keeps the two-word titles; blanks beside commas do not count.
        {"Order , Date Created,Latitude ,  Longitude,Elevation",
         true,
         HeaderPlain,
         {{CsvRole::Date, 2},
          {CsvRole::Latitude, 3},
          {CsvRole::Longitude, 4},
          {CsvRole::Height, 5}}},
        {"DATE TIME LATITUDE LONGITUDE HEIGHT",
         true,
         HeaderPlain,
         {{CsvRole::Date, 1}, {CsvRole::Time, 2}, {CsvRole::Latitude, 3}, {CsvRole::Longitude, 4}}},
        {"No,Date / Time,Latitude,Longitude,Altitude,Ground Speed",
         true,
         HeaderPlain,
         {{CsvRole::Date, 2}, {CsvRole::Height, 5}, {CsvRole::Speed, 6}}},
        // "TAG" is an RCR title; the hemisphere titles hold both coordinate and letter.
        {"INDEX,TAG,DATE,TIME,LATITUDE N/S,LONGITUDE E/W,HEIGHT",
         true,
         HeaderPlain,
         {{CsvRole::RCR, 2}, {CsvRole::Latitude, 5}, {CsvRole::Longitude, 6}, {CsvRole::NS, 0}}},
        {"*YYYY MM DD HH:MM:SS LAT.(DEG.) LON.(DEG.) HEIGHT (M)",
         true,
         HeaderSpacedDate,
         {{CsvRole::Date, 1}, {CsvRole::Time, 2}, {CsvRole::Latitude, 3}, {CsvRole::Height, 5}}},
        // A later field takes the role over.
        {"LAT,LONGITUDE,LATITUDE", true, HeaderPlain, {{CsvRole::Latitude, 3}}},
        {"DATE,TIME,LATITUDE,SPEED", false, HeaderPlain, {{CsvRole::Latitude, 3}}},
    };
    for (const Case& c : cases) {
        bool recognised = false;
        const ColumnMap map = Analyse(c.Line, recognised);
        EXPECT_EQ(recognised, c.Recognised) << c.Line;
        EXPECT_EQ(map.Form, c.Form) << c.Line;
        for (const Expected& e : c.Positions) {
            EXPECT_EQ(map[e.Role], e.Position) << c.Line << " role " << static_cast<int>(e.Role);
        }
    }
}

TEST(CsvHeader, TimeSystemFlags) {
    bool recognised = false;
    ColumnMap gpst = Analyse("%  GPST latitude(deg) longitude(deg)", recognised);
    EXPECT_TRUE(gpst.Gpst);
    EXPECT_FALSE(gpst.Jst);
    ColumnMap jst = Analyse("JST,LAT,LON", recognised);
    EXPECT_TRUE(jst.Jst);
    ColumnMap utc = Analyse("UTC,LAT,LON", recognised);
    EXPECT_FALSE(utc.Gpst || utc.Jst);
}

TEST(CsvHeader, FieldsBeyondTwentyFiveCannotMatch) {
    std::string header;
    for (int i = 1; i <= 39; ++i) header += "C" + std::to_string(i) + ",";
    header += "LONGITUDE";
    bool recognised = false;
    ColumnMap map = Analyse("LATITUDE," + header, recognised);
    EXPECT_FALSE(recognised);
    EXPECT_EQ(map.FieldCount, 25);
    EXPECT_EQ(map[CsvRole::Latitude], 1);
}

TEST(CsvHeader, RtklibFileMovesNsToSatellites) {
    Settings settings;
    AddDefaultProfiles(settings);
    LogLineReader reader;
    ASSERT_TRUE(reader.OpenLog(CsvTestData("pos/kinematic_gpst.pos")));
    LoadedLog log;
    ColumnMap map;
    ProfileParams params;
    ASSERT_TRUE(AnalyseCsvHeader(reader, settings, log, map, params));
    EXPECT_EQ(map.ProfileName, "RTKLIB");
    EXPECT_TRUE(log.IsRtklibLog);
    EXPECT_EQ(map[CsvRole::NS], 0);
    EXPECT_EQ(map[CsvRole::Nsat], 6);
    EXPECT_EQ(map[CsvRole::Valid], 5);
    EXPECT_TRUE(map.Gpst);
    // The reader stands on the first data line.
    EXPECT_EQ(reader.ReadLogLine().substr(0, 23), "2014/05/17 10:30:16.000");
}

TEST(CsvHeader, GivesUpAfterThirtyFiveNonBlankLines) {
    Settings settings;
    AddDefaultProfiles(settings);
    for (int lines : {34, 35}) {
        std::string text;
        for (int i = 0; i < lines; ++i) text += "title " + std::to_string(i) + "\n\n\n";
        text += "DATE,LATITUDE,LONGITUDE\n2014/05/17 10:30:00,35.1,139.2\n";
        LogLineReader reader;
        ASSERT_TRUE(reader.OpenLog(WriteTestLog("preamble.csv", text)));
        LoadedLog log;
        ColumnMap map;
        ProfileParams params;
        EXPECT_EQ(AnalyseCsvHeader(reader, settings, log, map, params), lines < 35) << lines;
        EXPECT_EQ(map.ProfileName, "Default");
    }
}

TEST(CsvHeader, ProfilesOfTheFixtures) {
    Settings settings;
    AddDefaultProfiles(settings);
    struct Case {
        const char* File;
        const char* Profile;
    } cases[] = {
        {"csv/wintec_tmx.csv", "Wintec"},           {"csv/v900_columbus.csv", "V-900, VGPS-900"},
        {"csv/m241_preamble.csv", "M-241 Ver1.13"}, {"csv/gt730fls_repeats.csv", "GT-730FL-S"},
        {"csv/igotu_trip.csv", "i-gotU"},           {"csv/spaced_columns.txt", "Default"},
        {"csv/iso_zones.csv", "Default"},           {"pos/kinematic_utc.pos", "RTKLIB"},
    };
    for (const Case& c : cases) {
        LogLineReader reader;
        ASSERT_TRUE(reader.OpenLog(CsvTestData(c.File)));
        LoadedLog log;
        ColumnMap map;
        ProfileParams params;
        EXPECT_TRUE(AnalyseCsvHeader(reader, settings, log, map, params)) << c.File;
        EXPECT_EQ(map.ProfileName, c.Profile) << c.File;
    }
}
