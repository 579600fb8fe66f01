#include "NmeaReaderTestSupport.h"

#include "../../support/TempFolder.h"
#include "app/ProgramTime.h"

#include "convert/DatePattern.h"
#include "stats/TimeText.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace fixtally {
namespace {

using test::LoadedNmea;
using test::Sentence;
using test::Sentences;

constexpr double Day14 = 46095; // 2026-03-14
constexpr double Day15 = 46096;
constexpr double Second = 1.0 / 86400;
constexpr double Tolerance = 1e-9;

std::string Rmc(std::string_view time, std::string_view date = "140326",
                std::string_view lat = "4807.038") {
    return Sentence("GPRMC," + std::string(time) + ",A," + std::string(lat) +
                    ",N,01131.000,E,0.5,54.7," + std::string(date) + ",,,A");
}
std::string Gga(std::string_view time, std::string_view quality = "2") {
    return Sentence("GPGGA," + std::string(time) + ",4807.040,N,01131.002,E," +
                    std::string(quality) + ",08,0.9,545.4,M,46.9,M,,");
}
std::string Gsa() {
    return Sentence("GPGSA,A,3,04,05,09,12,24,,,,,,,,2.5,1.3,2.1");
}

std::string RmcGgaLog(bool ggaFirst, std::initializer_list<const char*> times,
                      std::string_view date = "140326") {
    std::string log;
    for (const char* t : times) log += ggaFirst ? Gga(t) + Rmc(t, date) : Rmc(t, date) + Gga(t);
    return log;
}

std::string TwoDigits(int v) {
    return {static_cast<char>('0' + v / 10), static_cast<char>('0' + v % 10)};
}

// Epochs of RMC, GGA and GSA from 12:00:00 on, one a second.
std::string ManyEpochs(int epochs) {
    std::string log;
    for (int i = 0; i < epochs; ++i) {
        const int s = 12 * 3600 + i;
        const std::string t =
            TwoDigits(s / 3600 % 24) + TwoDigits(s / 60 % 60) + TwoDigits(s % 60) + ".00";
        log += Rmc(t) + Gga(t) + Gsa();
    }
    return log;
}

struct ModeCase {
    const char* name;
    std::string log;
    int records;
    const char* panel1;
};

void PrintTo(const ModeCase& c, std::ostream* out) {
    *out << c.name;
}

class NmeaModes : public ::testing::TestWithParam<ModeCase> {};

TEST_P(NmeaModes, ModeTextAndRecordCount) {
    const ModeCase& c = GetParam();
    LoadedNmea n(c.log);
    EXPECT_EQ(n.Read(), c.records);
    EXPECT_EQ(n.program.Store.Count(), static_cast<std::size_t>(c.records));
    EXPECT_EQ(n.program.Main.StatusPanel1, c.panel1);
}

const std::string GnsEpochs =
    Sentences({"GNGNS,120000.00,4807.050,N,01131.010,E,AAN,10,0.7,550.0,46.9,,",
               "GNGGA,120000.00,4807.040,N,01131.002,E,2,08,0.9,545.4,M,46.9,M,,",
               "GNGSA,A,3,04,05,09,12,24,,,,,,,,2.5,1.3,2.1",
               "GNGNS,120001.00,4807.051,N,01131.011,E,DDN,11,0.6,551.0,46.9,,",
               "GNGSA,A,3,04,05,09,12,24,,,,,,,,2.5,1.3,2.1",
               "GNGNS,120002.00,4807.052,N,01131.012,E,NNN,12,0.6,552.0,46.9,,",
               "GNGNS,120003.00,4807.053,N,01131.013,E,AA,12,0.6,553.0,46.9,,"});

INSTANTIATE_TEST_SUITE_P(
    Logs, NmeaModes,
    ::testing::Values(
        ModeCase{"RmcThenGga", RmcGgaLog(false, {"120000.00", "120001.00", "120002.00"}), 3,
                 " RMC preceding  3rec."},
        ModeCase{"GgaThenRmc", RmcGgaLog(true, {"120000.00", "120001.00", "120002.00"}), 3,
                 " GGA preceding  3rec."},
        ModeCase{"GgaOnly", Gga("120000.00") + Gsa() + Gga("120001.00") + Gsa(), 2,
                 " GGA only  2rec."},
        ModeCase{"RmcOnly", Rmc("120000.00") + Rmc("120001.00"), 2, " RMC only  2rec."},
        ModeCase{"GnsWithOneGga", GnsEpochs, 3, " GNS preceding  3rec."},
        ModeCase{"NoSentence", "hello\r\n$GPGSV,1,1,00*79\r\n$GPGLL,x\r\n", 0, " RMC preceding"},
        ModeCase{"EmptyFile", "", 0, " RMC preceding"},
        ModeCase{"OnlyBinary", test::UbxFrame(200) + test::RtcmFrame(100), 0, " RMC preceding"},
        ModeCase{"FramesBetweenSentences",
                 Rmc("120000.00") + test::UbxFrame(50) + Gga("120000.00") + test::RtcmFrame(19) +
                     Rmc("120001.00") + test::SirfFrame(20) + Gga("120001.00"),
                 2, " RMC preceding  2rec."},
        ModeCase{"RefusedEpochGivesNoRecord",
                 Rmc("120000.00") + Gga("120000.00") +
                     Sentence("GPRMC,120001.00,V,4807.038,N,01131.000,E,0.5,54.7,140326,,,N") +
                     Gga("120001.00", "0") + Rmc("120002.00") + Gga("120002.00"),
                 2, " RMC preceding  2rec."}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(NmeaReader, RmcAndGgaMergeIntoOneRecord) {
    for (bool ggaFirst : {false, true}) {
        SCOPED_TRACE(ggaFirst);
        std::string log;
        for (const char* t : {"120000.00", "120001.00"}) {
            log += ggaFirst ? Gga(t) + Rmc(t) + Gsa() : Rmc(t) + Gga(t) + Gsa();
        }
        LoadedNmea n(log);
        ASSERT_EQ(n.Read(), 2);
        const FixRecord r = n.Records()[0];
        EXPECT_NEAR(r.Time, Day14 + 0.5, Tolerance);
        EXPECT_DOUBLE_EQ(r.Latitude, 48 + 7.038 / 60); // the RMC position
        EXPECT_DOUBLE_EQ(r.Longitude, 11 + 31.0 / 60);
        EXPECT_DOUBLE_EQ(r.Altitude, 545.4); // the GGA altitude, HDOP and satellites
        EXPECT_DOUBLE_EQ(r.Hdop, 0.9);
        EXPECT_DOUBLE_EQ(r.Vdop, 2.1);
        EXPECT_DOUBLE_EQ(r.Pdop, 2.5);
        EXPECT_DOUBLE_EQ(r.Speed, 0.5);
        EXPECT_EQ(r.SatsUsed, 8);
        EXPECT_EQ(r.FixQuality, u'2');
        EXPECT_EQ(r.SatsExtra, 255);
        EXPECT_EQ(r.DgpsFlag, 1);
    }
}

TEST(NmeaReader, UnknownBinaryBeforeSentencesLosesNoEpoch) {
    // Binary frames of a protocol the reader does not know run straight into the "$" of
    // the next sentence; they hold D3h bytes that start no RTCM 3 frame and "$" bytes.
    const std::string bytes = fixtally::testing::ReadWholeFile(std::string(FIXTALLY_TEST_DATA) +
                                                               "/nmea/unknown-binary.nmea");
    ASSERT_FALSE(bytes.empty());
    LoadedNmea n(bytes);
    ASSERT_EQ(n.Read(), 5);
    const double day = DayNumberFromDate(2019, 4, 12);
    const std::vector<FixRecord> records = n.Records();
    for (int i = 0; i < 5; ++i) {
        SCOPED_TRACE(i);
        const FixRecord& r = records[static_cast<std::size_t>(i)];
        EXPECT_NEAR(r.Time, day + (8 * 3600 + 39 * 60 + 10 + i) * Second, Tolerance);
        EXPECT_NEAR(r.Latitude, 35 + (40.12345 + 0.00003 * i) / 60, 1e-12);
        EXPECT_DOUBLE_EQ(r.Altitude, 40.4 + i); // every GGA counted
        EXPECT_EQ(r.SatsUsed, 12);
    }
}

TEST(NmeaReader, GgaOnlyTimesAreTimesOfDay) {
    LoadedNmea n(Gga("120000.00") + Gga("120001.50"));
    ASSERT_EQ(n.Read(), 2);
    EXPECT_NEAR(n.Records()[0].Time, 0.5, Tolerance);
    EXPECT_NEAR(n.Records()[1].Time, 0.5 + 1.5 * Second, Tolerance);
    EXPECT_DOUBLE_EQ(n.Records()[0].Latitude, 48 + 7.040 / 60);
}

TEST(NmeaReader, MidnightWithRmcTakesTheNewDate) {
    for (bool ggaFirst : {false, true}) {
        SCOPED_TRACE(ggaFirst);
        std::string log = RmcGgaLog(ggaFirst, {"235958.00", "235959.00"}) +
                          RmcGgaLog(ggaFirst, {"000000.00", "000001.00"}, "150326");
        LoadedNmea n(log);
        ASSERT_EQ(n.Read(), 4);
        const std::vector<FixRecord> r = n.Records();
        EXPECT_NEAR(r[0].Time, Day14 + 1 - 2 * Second, Tolerance);
        EXPECT_NEAR(r[1].Time, Day14 + 1 - Second, Tolerance);
        EXPECT_NEAR(r[2].Time, Day15, Tolerance);
        EXPECT_NEAR(r[3].Time, Day15 + Second, Tolerance);
        EXPECT_NEAR(n.program.CountRange.Start, Day14 + 1 - 2 * Second, Tolerance);
        EXPECT_NEAR(n.program.CountRange.End, Day15 + Second, Tolerance);
    }
}

TEST(NmeaReader, MidnightWithoutRmcKeepsTheLastTime) {
    LoadedNmea n(Gga("235958.00") + Gga("235959.00") + Gga("000000.00") + Gga("000001.00"));
    ASSERT_EQ(n.Read(), 4);
    const std::vector<FixRecord> r = n.Records();
    EXPECT_NEAR(r[0].Time, 1 - 2 * Second, Tolerance);
    for (int i = 1; i < 4; ++i) EXPECT_NEAR(r[i].Time, 1 - Second, Tolerance) << i;
}

TEST(NmeaReader, FirstEpochWithoutRmcKeepsTheCheckPassTime) {
    // A lone GGA before the first RMC: the check pass stops on the RMC of the 101st
    // epoch, and the lone GGA's epoch takes that later time.
    std::string log = Gga("120000.00");
    for (int k = 1; k <= 150; ++k) {
        const int s = 12 * 3600 + k;
        const std::string t =
            TwoDigits(s / 3600) + TwoDigits(s / 60 % 60) + TwoDigits(s % 60) + ".00";
        log += Rmc(t) + Gga(t);
    }
    LoadedNmea n(log);
    ASSERT_EQ(n.Read(), 151);
    EXPECT_NEAR(n.Records()[0].Time, Day14 + 0.5 + 101 * Second, Tolerance);
    EXPECT_DOUBLE_EQ(n.Records()[0].Latitude, 48 + 7.040 / 60);
    EXPECT_NEAR(n.Records()[1].Time, Day14 + 0.5 + Second, Tolerance);
}

TEST(NmeaReader, GnsModeTakesGnsPositionsAndIgnoresGga) {
    LoadedNmea n(GnsEpochs);
    ASSERT_EQ(n.Read(), 3);
    const std::vector<FixRecord> r = n.Records();
    EXPECT_DOUBLE_EQ(r[0].Latitude, 48 + 7.050 / 60);
    EXPECT_DOUBLE_EQ(r[0].Altitude, 550.0);
    EXPECT_DOUBLE_EQ(r[0].Hdop, 0.7);
    EXPECT_EQ(r[0].SatsUsed, 10);
    EXPECT_EQ(r[0].FixQuality, u'1');
    EXPECT_EQ(r[0].DgpsFlag, 0);
    EXPECT_EQ(r[1].FixQuality, u'2');
    EXPECT_EQ(r[1].DgpsFlag, 0); // "DDN" is not one letter of "DPRF"
    // The NNN epoch is refused and merges into the next one.
    EXPECT_DOUBLE_EQ(r[2].Latitude, 48 + 7.053 / 60);
    EXPECT_NEAR(r[2].Time, 0.5 + 3 * Second, Tolerance);
}

TEST(NmeaReader, FurtherSystemsAndQzssCountAsExtraSatellites) {
    const std::string epoch =
        Sentences({"GNRMC,120000.00,A,4807.038,N,01131.000,E,0.5,54.7,140326,,,A",
                   "GNGGA,120000.00,4807.040,N,01131.002,E,1,10,0.9,545.4,M,46.9,M,,",
                   "GNGSA,A,3,02,04,06,08,10,,,,,,,,1.5,0.8,1.2"});
    const std::string glonass = Sentence("GNGSA,A,3,65,67,69,,,,,,,,,,1.5,0.8,1.2");
    const std::string galileo = Sentence("GNGSA,A,3,01,03,,,,,,,,,,,1.5,0.8,1.2");
    const std::string qzss = Sentence("QZQSA,A,A,3,193,194,,,,,,,,,,,1.5,0.8,1.2");
    const struct {
        std::string further;
        int extra;
    } cases[] = {
        {glonass + galileo, 5},
        {qzss, 2},
        {glonass + galileo + qzss, 7},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.extra);
        LoadedNmea n(epoch + c.further);
        ASSERT_EQ(n.Read(), 1);
        EXPECT_EQ(n.Records()[0].SatsExtra, c.extra);
        EXPECT_EQ(n.Records()[0].SatsUsed, 10);
        EXPECT_DOUBLE_EQ(n.Records()[0].Pdop, 1.5);
    }
}

TEST(NmeaReader, EmptySatelliteCountIsAbsent) {
    LoadedNmea n(Rmc("120000.00") +
                 Sentence("GPGGA,120000.00,4807.040,N,01131.002,E,2,,0.9,545.4,M,46.9,M,,") +
                 Rmc("120001.00") + Gga("120001.00"));
    ASSERT_EQ(n.Read(), 2);
    EXPECT_EQ(n.Records()[0].SatsUsed, 255); // leaves the least count of the statistics alone
    EXPECT_EQ(n.Records()[1].SatsUsed, 8);
}

TEST(NmeaReader, SecondGsaWithTwoDimensionalFixDropsAltitude) {
    LoadedNmea n(Rmc("120000.00") + Gga("120000.00") +
                 Sentence("GLGSA,A,2,65,67,69,,,,,,,,,,2.5,1.3,2.1") + Rmc("120001.00") +
                 Gga("120001.00") + Gsa());
    ASSERT_EQ(n.Read(), 2);
    EXPECT_TRUE(std::isnan(n.Records()[0].Altitude));
    EXPECT_DOUBLE_EQ(n.Records()[1].Altitude, 545.4);
}

TEST(NmeaReader, RangeAndDialogTexts) {
    LoadedNmea n(RmcGgaLog(false, {"120000.00", "120001.00", "120002.25"}));
    ASSERT_EQ(n.Read(), 3);
    const Program& p = n.program;
    EXPECT_NEAR(p.CountRange.Start, Day14 + 0.5, Tolerance);
    EXPECT_NEAR(p.CountRange.End, Day14 + 0.5 + 2.25 * Second, Tolerance);
    EXPECT_EQ(p.FullRange.Start, p.CountRange.Start);
    EXPECT_EQ(p.FullRange.End, p.CountRange.End);
    EXPECT_EQ(p.RangeDialog.EditStime, FormatFixTime(p, p.CountRange.Start));
    EXPECT_EQ(p.RangeDialog.EditEtime, FormatFixTime(p, p.CountRange.End));
    EXPECT_NE(p.RangeDialog.EditEtime.find("12:00:02.25"), std::string::npos);
    EXPECT_EQ(p.RangeDialog.LabelTitl, "Full range (UTC)");
    EXPECT_EQ(p.RangeDialog.LabelRange, p.RangeDialog.EditStime + " to " + p.RangeDialog.EditEtime);
    EXPECT_EQ(p.Average.LabelTitl, "Full range (UTC)");
    EXPECT_EQ(p.Average.LabelRange, p.RangeDialog.LabelRange);
    EXPECT_EQ(p.Average.tCenterEditCSVstime, p.RangeDialog.EditStime);
    EXPECT_EQ(p.Average.tCenterEditCSVftime, p.RangeDialog.EditEtime);
}

TEST(NmeaReader, PositionDecimalsFromTheLog) {
    struct Case {
        const char* latitude;
        int decimals;
    };
    for (const Case c : {Case{"4807.038", 3}, Case{"4807.03812", 4}, Case{"4807.0381234567", 9}}) {
        LoadedNmea n(Rmc("120000.00", "140326", c.latitude));
        ASSERT_EQ(n.Read(), 1);
        EXPECT_EQ(n.program.Log.LogPosDecimals, c.decimals) << c.latitude;
    }
}

TEST(NmeaReader, UnreadablePathFails) {
    const std::string folder = std::filesystem::temp_directory_path().string();
    for (const std::string& path : {folder, std::string("/nonexistent/dir/track.nmea")}) {
        HeadlessPlatform ui;
        Program p(ui);
        p.Log.LogFileName = path;
        EXPECT_EQ(ReadNmeaLog(p), -1);
        const std::string name = path.substr(path.rfind('/') + 1);
        EXPECT_EQ(p.Main.StatusPanel0, "  Can not open: " + name);
    }
}

TEST(NmeaReader, StatusTextsAndProgressEvery2048Records) {
    for (int epochs : {2047, 2048, 4100}) {
        SCOPED_TRACE(epochs);
        LoadedNmea n(ManyEpochs(epochs), 128);
        ASSERT_EQ(n.Read(), epochs);
        const std::string name = " " + n.Name();
        const auto& panels = n.ui.Panels0;
        // Messages go through after the open, check and mode texts, then every 2048
        // records; the statistics run comes after that.
        ASSERT_GE(panels.size(), 3u);
        EXPECT_EQ(panels[0], name + "  Open NMEA file ...");
        EXPECT_EQ(panels[1], name + "  Checking NMEA file ...");
        EXPECT_EQ(panels[2], name + "  Checking NMEA file ...");
        EXPECT_EQ(n.ui.Panels1[2], " RMC preceding");
        std::vector<std::string> progress;
        std::vector<int> taskbar;
        for (std::size_t i = 3; i < panels.size(); ++i) {
            // Calls made once the record count shows belong to the statistics run.
            if (n.ui.Panels1[i].find("rec.") != std::string::npos) break;
            if (panels[i].rfind(name + "  Reading (", 0) == 0) {
                progress.push_back(panels[i]);
                taskbar.push_back(n.ui.TaskbarValues[i]);
            }
        }
        ASSERT_EQ(progress.size(), static_cast<std::size_t>(epochs / 2048));
        if (epochs == 2048) {
            // The last epoch was assembled at the end of the file.
            EXPECT_EQ(progress[0], name + "  Reading (100.0%)");
            EXPECT_EQ(taskbar[0], 128);
        }
        if (epochs == 4100) {
            // 2048 of 4100 epochs, counted in whole 4096-byte blocks.
            const std::int64_t size =
                static_cast<std::int64_t>(std::filesystem::file_size(n.file.Path()));
            const std::int64_t epochBytes = size / 4100;
            // Epoch 2048 ends when the RMC of the next one has been read.
            const std::int64_t consumed =
                2048 * epochBytes + static_cast<std::int64_t>(Rmc("120000.00").size());
            const std::int64_t read = (consumed + 4095) / 4096 * 4096;
            const double percent = 100.0 * static_cast<double>(read) / static_cast<double>(size);
            char digits[16];
            const auto r =
                std::to_chars(digits, digits + sizeof digits, percent, std::chars_format::fixed, 1);
            EXPECT_EQ(progress[0], name + "  Reading (" + std::string(digits, r.ptr) + "%)");
            EXPECT_EQ(taskbar[0], static_cast<int>(117 * read / size + 11));
        }
        EXPECT_EQ(n.program.Main.StatusPanel1,
                  " RMC preceding  " + std::to_string(epochs) + "rec.");
    }
}

TEST(NmeaReader, ProgressPercentageText) {
    HeadlessPlatform ui;
    Program p(ui);
    ui.TaskbarMax = 128;
    ShowReadingPercentage(p, "log.nmea", 1, 3);
    EXPECT_EQ(p.Main.StatusPanel0, " log.nmea  Reading (33.3%)");
    ShowReadingPercentage(p, "log.nmea", 5, 1000);
    EXPECT_EQ(p.Main.StatusPanel0, " log.nmea  Reading (0.5%)");
    // Files over 4 GiB: 64-bit arithmetic all the way.
    const std::int64_t big = std::int64_t{5} << 30;
    ShowReadProgress(p, big / 2, big);
    EXPECT_EQ(ui.TaskbarValue, (128 - 11) / 2 + 11);
    ShowReadProgress(p, 0, big);
    EXPECT_EQ(ui.TaskbarValue, 11);
    ShowReadProgress(p, big + 100000, big); // the log grew while it was read
    EXPECT_EQ(ui.TaskbarValue, 128);
    ui.TaskbarMax = 0;
    ShowReadProgress(p, 1, 2);
    EXPECT_EQ(ui.TaskbarUpdates, 3);
}

TEST(NmeaReader, AbortInReadPassEmptiesStore) {
    // 3: Esc during the mode-text update, acted on after 2048 records; 4: at the first
    // progress update.
    for (int after : {3, 4}) {
        SCOPED_TRACE(after);
        LoadedNmea n(ManyEpochs(5000));
        n.ui.InjectEscAfter(after, &n.program.Log.AbortRequested);
        EXPECT_EQ(n.Read(), -1);
        EXPECT_TRUE(n.program.Store.Exists());
        EXPECT_EQ(n.program.Store.Count(), 0u);
        EXPECT_EQ(n.ui.ProcessMessagesCalls, 4);
        EXPECT_EQ(n.ui.Panels0.back().rfind(" " + n.Name() + "  Reading (", 0), 0u);
    }
}

TEST(NmeaReader, AbortInCheckPassLeavesStoreUntouched) {
    LoadedNmea n(ManyEpochs(10));
    n.program.Store.Replace();
    n.program.Store.Append(FixRecord{});
    n.ui.InjectEscAfter(1, &n.program.Log.AbortRequested);
    EXPECT_EQ(n.Read(), -1);
    EXPECT_EQ(n.program.Store.Count(), 1u);
    EXPECT_EQ(n.ui.ProcessMessagesCalls, 2);
}

} // namespace
} // namespace fixtally
