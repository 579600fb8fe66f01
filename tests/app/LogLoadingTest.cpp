#include "app/LogLoading.h"
#include "app/Program.h"
#include "platform/HeadlessPlatform.h"

#include "../support/TempFolder.h"

#include <gtest/gtest.h>

#include <string>

using namespace fixtally;

namespace {

const char* const NmeaEpochs =
    "$GPRMC,120000.00,A,3540.874442,N,13946.027900,E,0.01,126.3,140326,,,A*66\r\n"
    "$GPGGA,120000.00,3540.874442,N,13946.027900,E,1,10,0.8,40.8,M,39.4,M,,*5A\r\n"
    "$GPRMC,120001.00,A,3540.873993,N,13946.027637,E,0.03,200.2,140326,,,A*6E\r\n"
    "$GPGGA,120001.00,3540.873993,N,13946.027637,E,1,12,0.6,41.3,M,39.4,M,,*50\r\n";

const char* const LoggerCsv =
    "Date,Time,Latitude,Longitude,Altitude,Speed,Course,Type,Distance,Essential\n"
    "2014/05/17,10:30:00,35.658099,139.741357,45.2,1852,90.0,Logged by time,0.0,0\n"
    "2014/05/17,10:30:05,35.658120,139.741390,45.4,3704,88.5,Logged by time,4.2,0\n";

class LogLoading : public ::testing::Test {
protected:
    std::string Write(const std::string& name, const std::string& content) {
        return folder_.Write(name, content);
    }

    int Load(const std::string& name) {
        program.Log.LogFileName = name;
        return LoadLogFile(program);
    }

    HeadlessPlatform ui;
    Program program{ui};
    fixtally::testing::TempFolder folder_{"fixtally-loading"};
};

} // namespace

TEST_F(LogLoading, StatusTextsByKindAndContent) {
    struct Case {
        const char* name;
        std::string content;
        bool loaded;
        std::string status;
    } cases[] = {
        {"track.nmea", NmeaEpochs, true, " Completed: track.nmea"},
        // a ".txt" that is not NMEA is read again as a logger CSV
        {"logger.txt", LoggerCsv, true, " Completed: logger.txt"},
        // other NMEA extensions have no CSV fallback
        {"logger.log", LoggerCsv, false, " logger.log  *** No data ***"},
        {"picture.png", "\x89PNG....", false, "  *** Not data file ***"},
        {"empty.nmea", "", false, " empty.nmea  *** No data ***"},
        {"notes.txt", "just some words\nand more words\n", false,
         " <<Error!!>>   Unknown CSV log file : notes.txt"},
    };
    for (const Case& c : cases) {
        const std::string path = Write(c.name, c.content);
        const int result = Load(path);
        EXPECT_EQ(result > 0, c.loaded) << c.name;
        EXPECT_EQ(program.Main.StatusPanel0.rfind(c.status, 0), 0u)
            << c.name << ": " << program.Main.StatusPanel0;
        EXPECT_EQ(program.Main.MenuCountRangeEnabled, c.loaded) << c.name;
        EXPECT_EQ(program.Main.MenuRecountEnabled, c.loaded) << c.name;
        EXPECT_FALSE(program.Log.Loading);
        EXPECT_FALSE(program.Log.AbortRequested);
        EXPECT_FALSE(ui.BusyCursor);
        if (!c.loaded) {
            EXPECT_TRUE(program.Main.tCenterEditH2drms.empty()) << c.name;
        }
    }
}

TEST_F(LogLoading, CommentAfterSemicolonIsIgnored) {
    const std::string path = Write("track.nmea", NmeaEpochs);
    EXPECT_EQ(Load("  " + path + " ; the roof antenna"), 2);
    EXPECT_EQ(program.Log.LogFileName, path);
    EXPECT_EQ(program.Main.StatusPanel0, " Completed: track.nmea");
}

TEST_F(LogLoading, MissingFileIsAnError) {
    EXPECT_LT(Load(folder_ / "gone.nmea"), 0);
    EXPECT_EQ(program.Main.StatusPanel0.rfind(" <<Error!!>> ", 0), 0u) << program.Main.StatusPanel0;
    EXPECT_FALSE(program.Main.MenuRecountEnabled);
}

TEST_F(LogLoading, EscDuringTheReadAbortsAndClearsTheResults) {
    std::string log;
    for (int i = 0; i < 3000; ++i) log += NmeaEpochs; // enough records for a progress step
    const std::string path = Write("long.nmea", log);
    ui.InjectEscAfter(1, &program.Log.AbortRequested);
    EXPECT_LT(Load(path), 0);
    EXPECT_EQ(program.Main.StatusPanel0, "*** Aborted by user ***");
    EXPECT_EQ(program.Store.Count(), 0u);
    EXPECT_FALSE(program.Log.AbortRequested);
    EXPECT_TRUE(program.Main.LabelStatus.empty());
}

TEST_F(LogLoading, TxtFallbackStartsFromFreshDecimals) {
    // The CSV attempt must not inherit the decimals the NMEA attempt counted.
    const std::string path = Write("logger.txt", LoggerCsv);
    ASSERT_GT(Load(path), 0);
    HeadlessPlatform ui2;
    Program direct(ui2);
    direct.Log.LogFileName = Write("logger.csv", LoggerCsv);
    ASSERT_GT(LoadLogFile(direct), 0);
    EXPECT_EQ(program.Log.LogPosDecimals, direct.Log.LogPosDecimals);
    EXPECT_EQ(program.Log.LogAltDecimals, direct.Log.LogAltDecimals);
}

TEST_F(LogLoading, EscDuringTheCountAbortsTheLoad) {
    // 6000 records: three stage calls and two progress calls of the read pass, then the
    // count's first call after 1024 records takes the Esc.
    std::string log;
    for (int i = 0; i < 3000; ++i) log += NmeaEpochs;
    const std::string path = Write("long.nmea", log);
    ui.InjectEscAfter(6, &program.Log.AbortRequested);
    EXPECT_LT(Load(path), 0);
    EXPECT_EQ(program.Main.StatusPanel0, "*** Aborted by user ***");
    EXPECT_FALSE(program.Main.MenuRecountEnabled);
    EXPECT_FALSE(program.Main.MenuCountRangeEnabled);
    EXPECT_TRUE(program.Main.tCenterEditH2drms.empty());
    EXPECT_FALSE(program.Log.AbortRequested);
}
