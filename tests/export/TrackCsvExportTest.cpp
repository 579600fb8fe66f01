#include "ExportTestSupport.h"

#include "app/ExportCommands.h"
#include "app/TrackCsvExport.h"
#include "export/ExportFile.h"

#include <cerrno>
#include <cmath>
#include <unistd.h>

using namespace fixtally;
using namespace fixtally::testing;

namespace {

TEST(TrackCsvNaming, CsvLogsGetSuffixOthersChangeExtension) {
    struct Case {
        const char* Log;
        const char* Csv;
    } cases[] = {
        {"/data/track.csv", "/data/track_s.csv"},   {"/data/track.nmea", "/data/track.csv"},
        {"/data/TRACK.CSV", "/data/TRACK_s.csv"},   {"/data/track.Csv", "/data/track_s.csv"},
        {"/data/a.b/track", "/data/a.b/track.csv"}, {"/data/track.pos", "/data/track.csv"},
        {"track.log.txt", "track.log.csv"},
    };
    for (const Case& c : cases) EXPECT_EQ(TrackCsvPath(c.Log), c.Csv) << c.Log;
}

TEST(AveragedCsvNaming, SpanStepAndLimitTextsAsTyped) {
    std::string limit = "10.0";
    EXPECT_EQ(AveragedCsvPath("/d/track.nmea", "24", "1.0", nullptr), "/d/track-24h1.0h.csv");
    EXPECT_EQ(AveragedCsvPath("/d/track.nmea", "24", "1.0", &limit), "/d/track-24h1.0h10.0m.csv");
    EXPECT_EQ(AveragedCsvPath("/d/track.csv", "0.5", "0.25", nullptr), "/d/track-0.5h0.25h.csv");
}

class TrackExport : public ::testing::Test {
protected:
    TempFolder Folder{"fixtally-export"};
    LoadedProgram L{Folder / "track.nmea"};
    Program& P = L.P;
    const double T0 = Day(2014, 5, 17) + 10.5 / 24; // 10:30:00

    std::vector<std::string> Export(bool withError, std::optional<ReducePress> reduce = {}) {
        EXPECT_EQ(RunTrackExport(P, withError, reduce), ExportOutcome::Done) << P.Main.StatusPanel0;
        return CsvLines(Folder / "track.csv");
    }
};

TEST_F(TrackExport, DateAndTimeInOneColumnOrTwo) {
    FixRecord a = Fix(T0, 35.123456789, 139.5, 45.25);
    a.Speed = 10; // knots
    a.Hdop = 0.9;
    a.Vdop = 1.25;
    a.Pdop = 1.5;
    a.SatsUsed = 9;
    L.Add(a);
    L.Add(Fix(T0 + Seconds(0.25), -35.5, -139.25));
    L.SetRangeToStore();

    std::vector<std::string> lines = Export(false);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "TIME,LATITUDE,LONGITUDE,HEIGHT,SPEED,HDOP,VDOP,PDOP,USED SAT,VALID");
    EXPECT_EQ(
        lines[1],
        "2014/05/17 10:30:00,35.123456789,139.500000000,45.25000,18.520,0.900,1.250,1.500,9,1");
    EXPECT_EQ(lines[2], "2014/05/17 10:30:00.25,-35.500000000,-139.250000000,,,,,,,1");

    P.Settings.CSV_SepTime = false;
    L.Ui.DefaultAnswer = ButtonYes; // overwrite the first export
    lines = Export(false);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "DATE,TIME,LATITUDE,LONGITUDE,HEIGHT,SPEED,HDOP,VDOP,PDOP,USED SAT,VALID");
    EXPECT_EQ(Fields(lines[1])[0], "2014/05/17");
    EXPECT_EQ(Fields(lines[1])[1], "10:30:00");
    EXPECT_EQ(Fields(lines[2])[1], "10:30:00.25");
    ASSERT_EQ(L.Ui.Messages.size(), 1u);
    EXPECT_EQ(L.Ui.Messages[0].Text, Folder / "track.csv" + " exists.\r\n\r\nOverwrite?");
}

TEST_F(TrackExport, TimeOfDayOnlyEmptyFieldsAndDecimalFallbacks) {
    FixRecord a = Fix(0.4375, 35.1, 139.2, 12.3456); // 10:30, no date
    a.FixQuality = u' ';
    L.Add(a);
    L.SetRangeToStore();
    P.Settings.CSV_SepTime = false;
    P.Settings.CSVdecimals.LatLon = "0"; // falls back to the display decimals
    P.Settings.CSVdecimals.Alt = "x";
    P.Settings.CSVdecimals.DOP = "0";
    P.Main.PosDecimals = 4;
    P.Main.AltDecimals = 2;
    std::vector<std::string> lines = Export(false);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1], ",10:30:00,35.1000,139.2000,12.35,,,,,,");

    P.Settings.CSV_SepTime = true;
    L.Ui.DefaultAnswer = ButtonYes;
    lines = Export(false);
    EXPECT_EQ(Fields(lines[1])[0], "10:30:00");
}

TEST_F(TrackExport, ErrorColumnsSignsAndRunningValues) {
    const double lat0 = 35.0, lon0 = 139.0;
    const double dLat = LatDegreesPerMetre(lat0, lon0), dLon = LonDegreesPerMetre(lat0, lon0);
    L.Add(Fix(T0, lat0 - 5 * dLat, lon0 - 10 * dLon, 101));            // 10 m west, 5 m south
    L.Add(Fix(T0 + Seconds(1), lat0 + 3 * dLat, lon0 + 4 * dLon, 99)); // 4 m east, 3 m north
    L.SetRangeToStore();
    P.Results.AveragePoint = {lat0, lon0, 100};

    std::vector<std::string> lines = Export(true);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "TIME,LATITUDE,LONGITUDE,HEIGHT,SPEED,HDOP,VDOP,PDOP,USED SAT,VALID,"
                        "Height err,E-W err,N-S err,Hor. err,2drms");
    std::vector<std::string> first = Fields(lines[1]), second = Fields(lines[2]);
    ASSERT_EQ(first.size(), 15u);
    EXPECT_EQ(first[10], "1.00000");
    EXPECT_NEAR(std::stod(first[11]), -10, 0.01);
    EXPECT_NEAR(std::stod(first[12]), -5, 0.01);
    const double h1 = std::stod(first[13]), h2 = std::stod(second[13]);
    EXPECT_NEAR(h1, 11.18, 0.01);
    EXPECT_NEAR(std::stod(first[14]), 2 * h1, 1e-4);
    EXPECT_EQ(second[10], "-1.00000");
    EXPECT_NEAR(std::stod(second[11]), 4, 0.01);
    EXPECT_NEAR(std::stod(second[12]), 3, 0.01);
    EXPECT_NEAR(h2, 5, 0.01);
    EXPECT_NEAR(std::stod(second[14]), 2 * std::sqrt((h1 * h1 + h2 * h2) / 2), 1e-4);

    P.Settings.TwoDrms = false; // CEP(50%)
    L.Ui.DefaultAnswer = ButtonYes;
    lines = Export(true);
    EXPECT_EQ(Fields(lines[0]).back(), "CEP(50%)");
    EXPECT_NEAR(std::stod(Fields(lines[1])[14]), 0.832547524 * h1, 1e-4);
}

TEST_F(TrackExport, TrueReferenceAddsTrueCoordinatesRow) {
    L.Add(Fix(T0, 35.0001, 139.0001, 50));
    L.SetRangeToStore();
    P.Results.AveragePoint = {35.0001, 139.0001, 50};
    P.Results.TruePoint = {35.0, 139.0, 40.5};
    P.Results.UseTrueReference = true;
    P.Settings.CSV_SepTime = false;
    std::vector<std::string> lines = Export(true);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(Fields(lines[1])[11], "9.50000"); // height error against the true altitude
    EXPECT_EQ(lines[2], ",,35.000000000,139.000000000,40.50000,True coordinates");
}

TEST_F(TrackExport, HeightErrorTitleStaysWhenNoFixHasHeight) {
    // Every row carries a height error field; its title must be there too so that the
    // error columns sit under their titles.
    L.Add(Fix(T0, 35.0, 139.0));
    L.Add(Fix(T0 + Seconds(1), 35.0001, 139.0));
    L.SetRangeToStore();
    P.Results.AveragePoint = {35.00005, 139.0, NaN};
    std::vector<std::string> lines = Export(true);
    ASSERT_EQ(lines.size(), 3u);
    std::vector<std::string> titles = Fields(lines[0]), row = Fields(lines[1]);
    ASSERT_EQ(titles.size(), row.size());
    EXPECT_EQ(titles[10], "Height err");
    EXPECT_EQ(row[10], "");
    EXPECT_EQ(titles[12], "N-S err");
    EXPECT_NEAR(std::stod(row[12]), -5.547, 0.001);

    // Without an average position only the height error field follows.
    P.Results.AveragePoint = {};
    L.Ui.DefaultAnswer = ButtonYes;
    lines = Export(true);
    EXPECT_EQ(Fields(lines[0]).size(), 11u);
    EXPECT_EQ(Fields(lines[1]).size(), 11u);
}

TEST_F(TrackExport, CountRangeAndReduceTogether) {
    // 1 Hz, stationary: fixes outside the count range are not written; reduce by 10 s.
    for (int i = 0; i < 60; ++i) L.Add(Fix(T0 + Seconds(i), 35.0, 139.0));
    L.SetRangeToStore();
    P.CountRange = {T0 + Seconds(5), T0 + Seconds(44)};
    std::vector<std::string> lines = Export(false, ReducePress{"1000", "10"});
    std::vector<std::string> times;
    for (std::size_t i = 1; i < lines.size(); ++i) times.push_back(Fields(lines[i])[0].substr(17));
    EXPECT_EQ(times, (std::vector<std::string>{"05", "15", "25", "35"}));
    EXPECT_EQ(P.Main.StatusPanel0, " Completed: track.csv 4rec.");
}

TEST_F(TrackExport, ThousandFixesFullReportsCompletedAndProgress) {
    for (int i = 0; i < 1000; ++i) L.Add(Fix(T0 + Seconds(i), 35.0, 139.0));
    L.SetRangeToStore();
    L.Ui.TaskbarMax = 128;
    std::vector<std::string> lines = Export(false);
    EXPECT_EQ(lines.size(), 1001u);
    EXPECT_EQ(P.Main.StatusPanel0, " Completed: track.csv 1000rec.");
    EXPECT_EQ(L.Ui.ProcessMessagesCalls, 3); // at records 256, 512, 768
    EXPECT_EQ(L.Ui.TaskbarValue, 128);
    EXPECT_FALSE(L.Ui.BusyCursor);
}

TEST_F(TrackExport, EscKeepsPartialFile) {
    for (int i = 0; i < 1000; ++i) L.Add(Fix(T0 + Seconds(i), 35.0, 139.0));
    L.SetRangeToStore();
    L.Ui.InjectEscAfter(2, &P.Log.AbortRequested);
    EXPECT_EQ(RunTrackExport(P, false, std::nullopt), ExportOutcome::Aborted);
    EXPECT_EQ(CsvLines(Folder / "track.csv").size(), 513u); // header + 512 rows
    EXPECT_EQ(P.Main.StatusPanel0, "*** Aborted by user ***");
    EXPECT_FALSE(P.Log.AbortRequested);
}

TEST_F(TrackExport, EscPressedWhileIdleDoesNotCancelTheNextExport) {
    L.Add(Fix(T0, 35.0, 139.0));
    L.SetRangeToStore();
    P.Log.AbortRequested = true;
    EXPECT_EQ(RunTrackExport(P, false, std::nullopt), ExportOutcome::Done);
    EXPECT_EQ(P.Main.StatusPanel0, " Completed: track.csv 1rec.");
}

TEST_F(TrackExport, SkippedRecordAtProgressPositionRefreshesNothing) {
    for (int i = 0; i < 300; ++i) L.Add(Fix(T0 + Seconds(i), 35.0, 139.0));
    L.SetRangeToStore();
    P.CountRange.End = T0 + Seconds(254); // record 256 lies outside
    Export(false);
    EXPECT_EQ(L.Ui.ProcessMessagesCalls, 0);
}

TEST_F(TrackExport, RefusalsAndFailures) {
    // No data.
    EXPECT_EQ(RunTrackExport(P, false, std::nullopt), ExportOutcome::NoData);
    ASSERT_EQ(L.Ui.Messages.size(), 1u);
    EXPECT_EQ(L.Ui.Messages[0].Text, "\nNo reading data.");
    EXPECT_EQ(L.Ui.Messages[0].Kind, MessageKind::Error);

    L.Add(Fix(T0, 35.0, 139.0));
    L.SetRangeToStore();
    // Cancel in the Reduce dialog writes nothing.
    EXPECT_EQ(SaveToCsvClick(P, false, [](Program& p) { p.Reduce.Button1Click(p); }),
              ExportOutcome::Cancelled);
    EXPECT_EQ(P.Main.StatusPanel0, "*** Aborted by user ***");
    EXPECT_FALSE(std::filesystem::exists(Folder / "track.csv"));

    // An existing file and the answer No: left alone, no status.
    { std::ofstream(Folder / "track.csv") << "keep"; }
    P.Main.StatusPanel0.clear();
    L.Ui.Answers.push_back(ButtonNo);
    EXPECT_EQ(RunTrackExport(P, false, std::nullopt), ExportOutcome::Declined);
    EXPECT_EQ(ReadWholeFile(Folder / "track.csv"), "keep");
    EXPECT_EQ(P.Main.StatusPanel0, "");

    // A file that cannot be created.
    P.Log.LogFileName = Folder / "missing/track.nmea";
    EXPECT_EQ(RunTrackExport(P, false, std::nullopt), ExportOutcome::CreateFailed);
    EXPECT_EQ(L.Ui.Messages.back().Text, "\nFile could not be created");

    // Nothing while loading.
    P.Log.Loading = true;
    EXPECT_EQ(RunTrackExport(P, false, std::nullopt), ExportOutcome::Busy);
}

// Calls whose writes fail after a number of bytes, as on a disk that fills up.
struct DiskFullAfter {
    static inline std::size_t left = 0;
    static ssize_t Write(int fd, const void* data, std::size_t size) {
        if (left == 0) {
            errno = ENOSPC;
            return -1;
        }
        const ssize_t written = ::write(fd, data, std::min(size, left));
        if (written > 0) left -= static_cast<std::size_t>(written);
        return written;
    }
    static FileWriteCalls Calls(std::size_t bytes) {
        left = bytes;
        FileWriteCalls calls = DefaultFileWriteCalls();
        calls.Write = Write;
        return calls;
    }
};

// A disk that fills up during an export over a complete earlier one (the answer Yes to
// "Overwrite?") leaves the earlier one as it was, and nothing else.
TEST_F(TrackExport, WriteErrorKeepsThePreviousExport) {
    for (int i = 0; i < 5000; ++i) L.Add(Fix(T0 + Seconds(i), 35.0, 139.0));
    L.SetRangeToStore();
    L.Ui.DefaultAnswer = ButtonYes;
    const std::string previous = "TIME,LATITUDE\r\nthe last good export\r\n";
    std::ofstream(Folder.Path("track.csv"), std::ios::binary) << previous;
    {
        ScopedFileWriteCalls full(DiskFullAfter::Calls(100 * 1024));
        EXPECT_EQ(RunTrackExport(P, false, std::nullopt), ExportOutcome::WriteFailed);
    }
    EXPECT_EQ(P.Main.StatusPanel0, " Error: could not be CSV output.");
    EXPECT_EQ(P.ExportFailure.Path, Folder.Path("track.csv"));
    EXPECT_EQ(P.ExportFailure.Reason, "No space left on device");
    EXPECT_EQ(ReadWholeFile(Folder.Path("track.csv")), previous);
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(
             std::filesystem::path(Folder.Path("track.csv")).parent_path()))
        names.push_back(entry.path().filename().string());
    EXPECT_EQ(names, std::vector<std::string>{"track.csv"});
}

// The log itself is never an export's target, not through a link and not with Yes.
TEST_F(TrackExport, NeverWritesOverTheLog) {
    L.Add(Fix(T0, 35.0, 139.0));
    L.SetRangeToStore();
    L.Ui.DefaultAnswer = ButtonYes;
    const std::string log = "$GPGGA,the log\r\n";
    std::ofstream(Folder.Path("track.nmea"), std::ios::binary) << log;
    std::filesystem::create_symlink(Folder.Path("track.nmea"), Folder.Path("track.csv"));
    EXPECT_EQ(RunTrackExport(P, false, std::nullopt), ExportOutcome::OverLog);
    EXPECT_EQ(L.Ui.Messages.back().Text,
              "\n" + Folder.Path("track.csv") + " is the log being read; it is not overwritten.");
    EXPECT_EQ(ReadWholeFile(Folder.Path("track.nmea")), log);
    EXPECT_TRUE(std::filesystem::is_symlink(Folder.Path("track.csv")));
}

} // namespace
