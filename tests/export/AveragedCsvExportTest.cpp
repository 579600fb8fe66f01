#include "ExportTestSupport.h"

#include "app/AveragedCsvExport.h"
#include "app/ExportCommands.h"
#include "app/LogLoading.h"
#include "export/CsvText.h"
#include "export/ExportFile.h"
#include "export/WindowAverage.h"
#include "input/nmea/NmeaReader.h"
#include "stats/TimeText.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <random>

using namespace fixtally;
using namespace fixtally::testing;

namespace {

class AveragedExport : public ::testing::Test {
protected:
    TempFolder Folder{"fixtally-export"};
    LoadedProgram L{Folder / "track.nmea"};
    Program& P = L.P;
    const double D0 = Day(2014, 5, 17);

    void SetUp() override { L.Ui.DefaultAnswer = ButtonYes; }

    ExportOutcome Run(const char* span, const char* step, std::optional<std::string> start = {},
                      std::optional<std::string> final = {},
                      std::optional<std::string> limit = {}) {
        return RunAverageExport(P, AverageRequest{span, step, limit, start, final});
    }
    std::vector<std::string> Lines(const std::string& name) { return CsvLines(Folder / name); }
    std::vector<std::string> Column(const std::vector<std::string>& lines, std::size_t column) {
        std::vector<std::string> values;
        for (std::size_t i = 1; i < lines.size(); ++i) values.push_back(Fields(lines[i])[column]);
        return values;
    }
    // Hourly fixes from D0 over the given hours, latitude 35 + hour / 1000.
    void HourlyFixes(int hours) {
        for (int h = 0; h <= hours; ++h) L.Add(Fix(D0 + h / 24.0, 35 + h / 1000.0, 139, 10 + h));
        L.SetRangeToStore();
    }
};

TEST_F(AveragedExport, DailyWindowsEndAtOrBeforeTheFinalTime) {
    HourlyFixes(72);
    ASSERT_EQ(Run("24", "24"), ExportOutcome::Done);
    std::vector<std::string> lines = Lines("track-24h24h.csv");
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], "Time,latitude,Longitude,Altitude,Span=24h");
    EXPECT_EQ(Column(lines, 0),
              (std::vector<std::string>{"2014/05/17 00:00:00", "2014/05/18 00:00:00",
                                        "2014/05/19 00:00:00"}));
    // The fix at a window's end belongs to the next window: hours 0..23 average 11.5.
    EXPECT_EQ(Fields(lines[1])[1], "35.011500000");
    EXPECT_EQ(Fields(lines[1])[3], "21.50000");
    EXPECT_EQ(P.Main.StatusPanel0, " Completed: track-24h24h.csv 3rec.");

    ASSERT_EQ(Run("24", "24", std::nullopt, "2014/05/19 23:59:59"), ExportOutcome::Done);
    EXPECT_EQ(Lines("track-24h24h.csv").size(), 3u);
}

TEST_F(AveragedExport, SlidingWindowsAndTheAlwaysWrittenFirstWindow) {
    HourlyFixes(48);
    ASSERT_EQ(Run("24", "1.0"), ExportOutcome::Done);
    std::vector<std::string> lines = Lines("track-24h1.0h.csv");
    ASSERT_EQ(lines.size(), 26u); // windows starting at hours 0..24
    EXPECT_EQ(Fields(lines[25])[0], "2014/05/18 00:00:00");
    EXPECT_EQ(Fields(lines[2])[1], "35.012500000"); // hours 1..24

    // A span longer than the log: only the first window, reaching beyond the final time.
    ASSERT_EQ(Run("100", "1"), ExportOutcome::Done);
    lines = Lines("track-100h1h.csv");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(Fields(lines[1])[1], "35.024000000");
}

TEST_F(AveragedExport, EmptyWindowsAndMissingHeights) {
    L.Add(Fix(D0, 35.0, 139.0, 10));
    L.Add(Fix(D0 + 2 / 24.0, 35.2, 139.2)); // no height
    FixRecord rejected = Fix(D0 + 3 / 24.0, 36.0, 140.0, 5);
    rejected.Hdop = 200; // beyond the HDOP limit
    L.Add(rejected);
    L.Add(Fix(D0 + 4 / 24.0, 35.4, 139.4, 30));
    L.SetRangeToStore();
    P.Settings.CSVdecimals.LatLon = "2";
    P.Settings.CSVdecimals.Alt = "0"; // 0 decimals here, no fall-back
    ASSERT_EQ(Run("1", "1"), ExportOutcome::Done);
    EXPECT_EQ(Lines("track-1h1h.csv"),
              (std::vector<std::string>{"Time,latitude,Longitude,Altitude,Span=1h",
                                        "2014/05/17 00:00:00,35.00,139.00,10",
                                        "2014/05/17 02:00:00,35.20,139.20,"}));
    // The fix at 04:00 is the final time: the window 04:00..05:00 does not end before it.

    ASSERT_EQ(Run("1", "1", "2014/05/17 02:30", "2014/05/17 03:59:59"), ExportOutcome::Done);
    EXPECT_EQ(Lines("track-1h1h.csv").size(), 1u);
    EXPECT_EQ(P.Main.StatusPanel0, " No valid data.");
}

TEST_F(AveragedExport, LimitLeavesOutFarFixesFromEveryWindow) {
    // Ten fixes at the point and one 100 m north; the average of the whole range lies
    // about 9 m north, so a 20 m limit keeps the ten and drops the far one.
    const double dLat = LatDegreesPerMetre(35, 139);
    for (int i = 0; i < 10; ++i) L.Add(Fix(D0 + Seconds(i * 60), 35.0, 139.0, 0));
    L.Add(Fix(D0 + Seconds(600), 35.0 + 100 * dLat, 139.0, 110));
    L.SetRangeToStore();
    ASSERT_EQ(Run("1", "1", std::nullopt, std::nullopt, "20"), ExportOutcome::Done);
    std::vector<std::string> lines = Lines("track-1h1h20m.csv");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1], "2014/05/17 00:00:00,35.000000000,139.000000000,0.00000");
    ASSERT_EQ(Run("1", "1"), ExportOutcome::Done);
    EXPECT_EQ(Fields(Lines("track-1h1h.csv")[1])[3], "10.00000");
}

TEST_F(AveragedExport, RefusalsStatusesAndAbort) {
    // No data.
    EXPECT_EQ(Run("24", "1"), ExportOutcome::NoData);
    EXPECT_EQ(L.Ui.Messages.back().Text, "\nNo reading data.");

    for (int i = 0; i < 200; ++i) L.Add(Fix(D0 + i / 24.0, 35, 139));
    L.SetRangeToStore();
    // A text OK refuses: the dialog is cancelled, nothing written.
    EXPECT_EQ(Run("1", "1", "yesterday"), ExportOutcome::Refused);
    EXPECT_EQ(L.Ui.Messages.back().Text, "Start time is out of range. ");
    EXPECT_FALSE(std::filesystem::exists(Folder / "track-1h1h.csv"));
    EXPECT_FALSE(P.Log.AbortRequested);

    P.Average.PublishLogRange(P);

    // Existing file, answer No.
    { std::ofstream(Folder / "track-1h1h.csv") << "keep"; }
    L.Ui.Answers.push_back(ButtonNo);
    EXPECT_EQ(Run("1", "1"), ExportOutcome::Declined);
    EXPECT_EQ(P.Main.StatusPanel0, " Aborted.");
    EXPECT_EQ(ReadWholeFile(Folder / "track-1h1h.csv"), "keep");

    // Esc while writing: messages are processed after lines 1, 9, 17, ...
    L.Ui.ProcessMessagesCalls = 0;
    L.Ui.InjectEscAfter(3, &P.Log.AbortRequested);
    EXPECT_EQ(Run("1", "1"), ExportOutcome::Aborted);
    EXPECT_EQ(P.Main.StatusPanel0, "*** Aborted by user ***");
    EXPECT_EQ(Lines("track-1h1h.csv").size(), 18u); // header + 17 lines
    EXPECT_FALSE(P.Log.AbortRequested);

    // Without abort: one call per 8 lines, taskbar up to the maximum.
    L.Ui.ProcessMessagesCalls = 0;
    L.Ui.TaskbarMax = 128;
    EXPECT_EQ(Run("1", "1"), ExportOutcome::Done);
    EXPECT_EQ(L.Ui.ProcessMessagesCalls, 25); // 200 lines
    EXPECT_EQ(L.Ui.TaskbarValue, 128);

    P.Log.LogFileName = Folder / "missing/track.nmea";
    EXPECT_EQ(Run("1", "1"), ExportOutcome::CreateFailed);
    EXPECT_EQ(L.Ui.Messages.back().Text, "\nFile could not be created");
    EXPECT_EQ(P.Main.StatusPanel0, " File could not be created.");
}

// Both window scans write the same bytes.
void ExpectScansAgree(Program& p, const std::string& folderFile, const char* what) {
    HeadlessPlatform& ui = static_cast<HeadlessPlatform&>(p.Ui);
    ui.DefaultAnswer = ButtonYes;
    const std::string path = folderFile;
    ASSERT_EQ(ExportAveragedCsv(p, WindowScan::PlainPass), ExportOutcome::Done) << what;
    std::string plain = ReadWholeFile(path);
    std::string plainStatus = p.Main.StatusPanel0;
    ASSERT_EQ(ExportAveragedCsv(p, WindowScan::Indexed), ExportOutcome::Done) << what;
    EXPECT_EQ(ReadWholeFile(path), plain) << what;
    EXPECT_EQ(p.Main.StatusPanel0, plainStatus) << what;
}

TEST_F(AveragedExport, IndexedScanMatchesPlainScanBitForBit) {
    // A noisy log with rejected fixes, missing heights, repeated times, and a stretch
    // written out of time order.
    std::mt19937 random(7);
    std::uniform_real_distribution<double> noise(-1e-4, 1e-4);
    std::vector<FixRecord> fixes;
    for (int i = 0; i < 5000; ++i) {
        FixRecord f = Fix(D0 + Seconds(i * 37 / 3), 35.0 + noise(random), 139.0 + noise(random),
                          i % 7 == 0 ? NaN : 50 + 1000 * noise(random));
        if (i % 11 == 0) f.Hdop = 150;
        if (i % 13 == 0) f.FixQuality = u'0';
        fixes.push_back(f);
    }
    for (const FixRecord& f : fixes) L.Add(f);
    L.SetRangeToStore();
    P.Settings.CSVdecimals.LatLon = "15";
    P.Settings.CSVdecimals.Alt = "12";
    const char* steps[][2] = {{"1", "1"}, {"3", "0.25"}, {"0.1", "0.7"}, {"24", "1.0"}};
    for (auto& s : steps) {
        P.Settings.CSVspan = s[0];
        P.Settings.CSVstep = s[1];
        std::string name = std::string("track-") + s[0] + "h" + s[1] + "h.csv";
        ExpectScansAgree(P, Folder / name, name.c_str());
        P.Average.CheckBoxEffectHori = true;
        P.Settings.CSVherr = "9";
        ExpectScansAgree(P, Folder / (std::string("track-") + s[0] + "h" + s[1] + "h9m.csv"),
                         "with limit");
        P.Average.CheckBoxEffectHori = false;
    }

    // The same fixes out of time order: blocks swapped and duplicate times.
    std::shuffle(fixes.begin() + 1000, fixes.begin() + 3000, random);
    fixes[10].Time = fixes[11].Time;
    P.Store.Replace();
    for (const FixRecord& f : fixes) L.Add(f);
    L.SetRangeToStore();
    P.Settings.CSVspan = "2";
    P.Settings.CSVstep = "0.5";
    ExpectScansAgree(P, Folder / "track-2h0.5h.csv", "out of order");
    P.Average.CheckBoxEffectHori = true;
    ExpectScansAgree(P, Folder / "track-2h0.5h9m.csv", "out of order with limit");
}

TEST(AveragedExportCorpus, IndexedScanMatchesPlainScanOnRealLogs) {
    const std::filesystem::path corpus = std::filesystem::path(FIXTALLY_CORPUS) / "nmea";
    if (!std::filesystem::exists(corpus)) GTEST_SKIP() << "no corpus";
    TempFolder folder{"fixtally-export"};
    int compared = 0;
    for (const auto& entry : std::filesystem::directory_iterator(corpus)) {
        LoadedProgram l(entry.path().string());
        if (ReadNmeaLog(l.P) <= 0) continue;
        // Write beside a copy name in the scratch folder, not beside the corpus.
        l.P.Log.LogFileName = folder / entry.path().filename().string();
        // About 30 windows over the log, each an eighth of it long.
        const double hours = (l.P.FullRange.End - l.P.FullRange.Start) * 24;
        if (!(hours > 0.001)) continue;
        l.P.Settings.CSVspan.clear();
        l.P.Settings.CSVstep.clear();
        AppendFixed(l.P.Settings.CSVspan, hours / 8, 9);
        AppendFixed(l.P.Settings.CSVstep, hours / 30, 9);
        ExpectScansAgree(l.P,
                         folder / (entry.path().stem().string() + "-" + l.P.Settings.CSVspan + "h" +
                                   l.P.Settings.CSVstep + "h.csv"),
                         entry.path().filename().c_str());
        ++compared;
    }
    EXPECT_GT(compared, 0);
}

} // namespace

namespace {

TEST_F(AveragedExport, WindowsOnTheAntimeridianAverageWhereTheReceiverStands) {
    // Two fixes a second on both sides of 180 degrees, across midnight.
    const double start = D0 - Seconds(1800);
    for (int i = 0; i < 7200; ++i)
        L.Add(Fix(start + Seconds(i / 2.0), -16.8, i % 2 == 0 ? 179.99998 : -179.99998, 12));
    L.SetRangeToStore();
    P.Settings.CSVdecimals.LatLon = "9";
    P.Settings.CSVspan = "0.5";
    P.Settings.CSVstep = "0.25";
    ExpectScansAgree(P, Folder / "track-0.5h0.25h.csv", "antimeridian");
    const std::vector<std::string> lines = Lines("track-0.5h0.25h.csv");
    ASSERT_GE(lines.size(), 3u);
    for (const std::string& longitude : Column(lines, 2)) {
        const double value = std::stod(longitude);
        EXPECT_GT(std::fabs(value), 179.9999) << longitude;
        EXPECT_LE(std::fabs(value), 180.0) << longitude;
    }
}

} // namespace

namespace {

// Clusters of fixes with gaps of days between them, on both sides of the day number
// 32768 (1989-09-17), where the spacing of representable times doubles: the windows that
// skip the gaps start exactly where the step-by-step walk starts them.
TEST_F(AveragedExport, SkippingEmptyStretchesWritesTheSameBytes) {
    const double boundary = 32768;
    const double clusters[] = {boundary - 6.3, boundary - 2.01, boundary - 0.0004, boundary + 1.7,
                               boundary + 4.25};
    int n = 0;
    for (double at : clusters)
        for (int i = 0; i < 40; ++i, ++n)
            L.Add(Fix(at + Seconds(i * 7), 35 + n / 1e5, 139 - n / 1e5, n % 5 ? 20.0 + n : NaN));
    L.SetRangeToStore();
    P.Settings.DateFormat = "yyyy/mm/dd";
    P.Settings.CSVdecimals.LatLon = "12";
    P.Settings.CSVdecimals.Alt = "9";
    const char* steps[][2] = {{"0.05", "0.01"}, {"1", "0.25"}, {"2", "0.7"}, {"0.1", "0.003"}};
    for (auto& s : steps) {
        P.Settings.CSVspan = s[0];
        P.Settings.CSVstep = s[1];
        const std::string name = std::string("track-") + s[0] + "h" + s[1] + "h.csv";
        ExpectScansAgree(P, Folder.Path(name), name.c_str());
        EXPECT_GT(Lines(name).size(), 5u) << name;
    }
}

// One fix with a date a century early: the export jumps over the empty century instead of
// walking some hundred million windows.
TEST_F(AveragedExport, ACenturyWideGapIsJumpedOver) {
    L.Add(Fix(Day(1914, 5, 17) + 0.5, 35.5, 139.5, 1));
    for (int i = 0; i < 100; ++i) L.Add(Fix(D0 + i / 24.0, 35, 139, 10));
    L.SetRangeToStore();
    ASSERT_EQ(Run("0.01", "0.001"), ExportOutcome::Done);
    const std::vector<std::string> lines = Lines("track-0.01h0.001h.csv");
    ASSERT_GT(lines.size(), 2u);
    // Every fix lies in about ten windows of 36 s stepping 3.6 s.
    EXPECT_GE(lines.size(), 1 + 9 * 101u);
    EXPECT_LE(lines.size(), 1 + 11 * 101u);
    EXPECT_EQ(lines[1].substr(0, 10), "1914/05/17");
    EXPECT_EQ(lines.back().substr(0, 10), "2014/05/21");
    EXPECT_EQ(P.Main.StatusPanel0.rfind(" Completed: track-0.01h0.001h.csv ", 0), 0u);
}

TEST_F(AveragedExport, AFailedWriteKeepsThePreviousExport) {
    HourlyFixes(5000);
    const std::string previous = "Time,latitude,Longitude,Altitude,Span=1h\r\n";
    std::ofstream(Folder.Path("track-1h1h.csv"), std::ios::binary) << previous;
    FileWriteCalls calls = DefaultFileWriteCalls();
    calls.Sync = [](int) {
        errno = EIO;
        return -1;
    };
    {
        ScopedFileWriteCalls failing(calls);
        EXPECT_EQ(Run("1", "1"), ExportOutcome::WriteFailed);
    }
    EXPECT_EQ(P.Main.StatusPanel0, " Error: could not be CSV output.");
    EXPECT_EQ(P.ExportFailure.Reason, "Input/output error");
    EXPECT_EQ(ReadWholeFile(Folder.Path("track-1h1h.csv")), previous);
}

} // namespace
