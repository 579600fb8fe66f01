#include "ExportTestSupport.h"

#include "app/ExportCommands.h"
#include "app/LogLoading.h"
#include "input/nmea/NmeaReader.h"

using namespace fixtally;
using namespace fixtally::testing;

namespace {

// tests/data/export/midnight.nmea read by the NMEA reader (which counts it), then exported;
// the outputs are compared byte for byte with the reviewed files beside the log.
class ExportGolden : public ::testing::Test {
protected:
    TempFolder Folder{"fixtally-export"};
    LoadedProgram L{Folder / "midnight.nmea"};
    Program& P = L.P;
    const std::string Data = std::string(FIXTALLY_TEST_DATA) + "/export/";

    void SetUp() override {
        std::filesystem::copy_file(Data + "midnight.nmea", Folder / "midnight.nmea");
        ASSERT_EQ(ReadNmeaLog(P), 8);
    }
    void ExpectSame(const std::string& written, const std::string& expected) {
        EXPECT_EQ(ReadWholeFile(Folder / written), ReadWholeFile(Data + expected))
            << "compare " << Folder / written << " with " << Data + expected;
    }
};

TEST_F(ExportGolden, TrackWithErrorsAndDateColumn) {
    P.Settings.CSV_SepTime = false;
    ASSERT_EQ(RunTrackExport(P, true, std::nullopt), ExportOutcome::Done);
    ExpectSame("midnight.csv", "midnight.expected-track-error.csv");
    EXPECT_EQ(P.Main.StatusPanel0, " Completed: midnight.csv 8rec.");
}

TEST_F(ExportGolden, AveragedOverTwoSecondWindows) {
    // 2 s windows stepped by 1 s: 0.000555555 h is a little short of 2 s, so no window
    // reaches the next fix.
    ASSERT_EQ(RunAverageExport(P, AverageRequest{"0.000555555", "0.000277777", {}, {}, {}}),
              ExportOutcome::Done);
    ExpectSame("midnight-0.000555555h0.000277777h.csv", "midnight.expected-average.csv");
}

} // namespace
