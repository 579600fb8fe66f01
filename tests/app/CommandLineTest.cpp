#include "app/CommandLine.h"
#include "app/Program.h"
#include "platform/HeadlessPlatform.h"

#include "../support/TempFolder.h"

#include <gtest/gtest.h>

#include <string>

using namespace fixtally;

namespace {

const char* const NmeaEpochs =
    "$GPRMC,120000.00,A,3540.874442,N,13946.027900,E,0.01,126.3,140326,,,A*66\r\n"
    "$GPGGA,120000.00,3540.874442,N,13946.027900,E,1,10,0.8,40.8,M,39.4,M,,*5A\r\n";

class CommandLine : public ::testing::Test {
protected:
    void SetUp() override { program.IniPath = Write("start.ini", ""); }

    std::string Write(const std::string& name, const std::string& content) {
        return folder_.Write(name, content);
    }

    fixtally::testing::TempFolder folder_{"fixtally-cmdline"};
    HeadlessPlatform ui;
    Program program{ui};
};

} // namespace

TEST_F(CommandLine, ExpandSwitchInEitherCaseAndTheLastLogWins) {
    program.Main.Caption = "Fixtally. Ver2.24";
    const std::string first = Write("first.nmea", NmeaEpochs);
    const std::string second = Write("second.nmea", NmeaEpochs);
    ProcessCommandLine(program, {first, "/h", second, "/H", "notes.png"});
    EXPECT_TRUE(program.Log.ExpandMode);
    EXPECT_EQ(program.Main.Caption, "Fixtally. Ver2.24 *** Expand mode ***");
    EXPECT_EQ(program.Log.LogFileName, second);
    // Expand mode decodes only the H-suffixed sentences, so plain ones give no data.
    EXPECT_EQ(program.Main.StatusPanel0, " second.nmea  *** No data ***");
}

TEST_F(CommandLine, IniArgumentIsReadBeforeTheLogIsChosen) {
    // The INI file makes ".gps" an NMEA extension; without it the log is no data file.
    const std::string ini = Write("mine.ini", "[Option]\nNMEAext=.gps\n");
    const std::string log = Write("track.gps", NmeaEpochs);
    ProcessCommandLine(program, {log, ini});
    EXPECT_EQ(program.IniPath, ini);
    EXPECT_EQ(program.Settings.NMEAext, ".gps");
    EXPECT_EQ(program.Main.StatusPanel0, " Completed: track.gps");
}

TEST_F(CommandLine, DroppedIniReloadsTheCurrentLogAndAnyOtherFileIsLoaded) {
    const std::string log = Write("track.nmea", NmeaEpochs);
    HandleDroppedFiles(program, {log});
    EXPECT_EQ(program.Main.StatusPanel0, " Completed: track.nmea");

    const std::string ini = Write("other.ini", "[Option]\nHDOPlim=0.5\n");
    program.Main.StatusPanel0.clear();
    HandleDroppedFiles(program, {ini});
    EXPECT_EQ(program.IniPath, ini);
    EXPECT_EQ(program.Settings.HDOPlim, "0.5");
    EXPECT_EQ(program.Main.StatusPanel0, " Completed: track.nmea");

    HandleDroppedFiles(program, {Write("photo.jpg", "....")});
    EXPECT_EQ(program.Main.StatusPanel0, "  *** Not data file ***");
    EXPECT_FALSE(program.Main.MenuRecountEnabled);
}
