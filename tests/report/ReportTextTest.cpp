#include "app/ProgramReport.h"

#include "app/Program.h"
#include "app/Recount.h"
#include "platform/HeadlessPlatform.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

using namespace fixtally;

namespace {

constexpr double Mar4 = 44259.0; // 2021-03-04
constexpr double Clock(int h, int n, double s) {
    return (h * 3600 + n * 60 + s) / 86400.0;
}

FixRecord Fix(double time, double latitude, double altitude, double hdop, int sats, int extra,
              char16_t quality) {
    FixRecord fix;
    fix.Time = time;
    fix.Latitude = latitude;
    fix.Longitude = 139.0;
    fix.Altitude = altitude;
    fix.Hdop = hdop;
    fix.Vdop = hdop + 0.4;
    fix.Pdop = hdop + 0.7;
    fix.SatsUsed = static_cast<std::uint8_t>(sats);
    fix.SatsExtra = static_cast<std::uint8_t>(extra);
    fix.FixQuality = quality;
    return fix;
}

// A static receiver on one meridian: three fixes pass the quality filter, the fourth
// (quality 0) is in range but rejected. Distances are meridian arcs, so east-west is 0.
// The expected reports were checked against GeographicLib's GRS80 inverse:
//   average 35.0001: fixes 11.09405754, 11.09405754, 22.18811563 m away, 2drms 31.37873379 m;
//   true 35.0000: 0, 0, 33.28217317 m, 2drms 38.43094328 m; average to true 11.09405754 m;
//   altitudes 10, 10, 13: 2drms 2.82842712 m about 11 m and 3.46410162 m about 10 m.
struct StaticFixture {
    StaticFixture() {
        program.Store.Replace();
        program.Store.Append(Fix(Mar4 + Clock(5, 0, 0), 35.0, 10.0, 0.8, 8, 4, u'1'));
        program.Store.Append(Fix(Mar4 + Clock(5, 0, 1), 35.0, 10.0, 0.9, 9, 5, u'2'));
        program.Store.Append(Fix(Mar4 + Clock(5, 0, 2.5), 35.0003, 13.0, 1.0, 10, 6, u'1'));
        program.Store.Append(Fix(Mar4 + Clock(5, 0, 3), 35.0005, 20.0, 1.0, 10, 6, u'0'));
        program.Log.LogFileName = "/logs/static.nmea";
        program.Log.LastFixTime = Mar4 + Clock(5, 0, 3);
        program.CountRange = {Mar4 + Clock(5, 0, 0), Mar4 + Clock(5, 0, 3)};
        program.FullRange = program.CountRange;
        program.Settings.DateFormat = "yyyy/mm/dd";
        program.Settings.PosDecimal = "3";
        program.Settings.AltDecimal = "2";
    }
    HeadlessPlatform ui;
    Program program{ui};
};

std::vector<std::string> GoldenLines(const char* name) {
    std::ifstream in(std::string(FIXTALLY_TEST_DATA) + "/report/" + name, std::ios::binary);
    EXPECT_TRUE(in) << name;
    std::vector<std::string> lines;
    std::string line;
    while (std::getline(in, line)) lines.push_back(line);
    return lines;
}

// Splits at "\r\n"; a bare "\n" or "\r" stays inside a line and so shows as a mismatch.
std::vector<std::string> ReportLines(const std::string& report) {
    std::vector<std::string> lines;
    std::size_t begin = 0;
    for (std::size_t end; (end = report.find("\r\n", begin)) != std::string::npos; begin = end + 2)
        lines.push_back(report.substr(begin, end - begin));
    EXPECT_EQ(begin, report.size()) << "text after the last line break";
    return lines;
}

void ExpectGolden(const std::string& report, const char* name) {
    std::vector<std::string> expected = GoldenLines(name);
    std::vector<std::string> actual = ReportLines(report);
    for (std::size_t i = 0; i < std::max(expected.size(), actual.size()); ++i) {
        std::string want = i < expected.size() ? expected[i] : "<no line>";
        std::string got = i < actual.size() ? actual[i] : "<no line>";
        EXPECT_EQ(got, want) << name << " line " << i + 1;
    }
}

} // namespace

TEST(BuildReportText, AverageReferenceMatchesTheGoldenReport) {
    StaticFixture f;
    f.program.Settings.UseAverage = true;
    CountFixes(f.program);
    ExpectGolden(BuildReportText(f.program), "static-average.txt");
    EXPECT_TRUE(f.ui.Messages.empty());
}

TEST(BuildReportText, TrueReferenceAddsTheDifferenceAndTrueCoordinates) {
    StaticFixture f;
    f.program.Settings.UseAverage = false;
    // Typed with leading blanks: they stay after the separator.
    f.program.Settings.TrueLat = "  35.0000";
    f.program.Settings.TrueLon = " 139.0";
    f.program.Settings.TrueAlt = "10.0";
    CountFixes(f.program);
    ExpectGolden(BuildReportText(f.program), "static-true.txt");
}

TEST(BuildReportText, CopiesTheFieldsAsShown) {
    StaticFixture f;
    MainWindowModel& m = f.program.Main;
    m.GroupBox2drms = " CEP(50%) ";
    m.LabelDgps = "<>4 RTK";
    m.tCenterEditH2drms = "1.5m";
    m.tCenterEditAlt2drms.clear(); // an empty field ends its line after the separator
    m.LabelStatus = "status";
    std::vector<std::string> lines = ReportLines(BuildReportText(f.program));
    ASSERT_EQ(lines.size(), 29u);
    EXPECT_EQ(lines[5], "CEP(50%)");
    EXPECT_EQ(lines[6], "  Horizontal:  1.5m");
    EXPECT_EQ(lines[7], "  Altitude:    ");
    EXPECT_EQ(lines[15], "  <>4 RTK:      ");
    EXPECT_EQ(lines[22], "  HDOP:     ");
    EXPECT_EQ(lines[27], "status");
    EXPECT_EQ(lines[28], "");
}

TEST(BuildReportText, WithoutDataShowsTheMessageAndReturnsNothing) {
    HeadlessPlatform ui;
    Program program(ui);
    EXPECT_EQ(BuildReportText(program), "");
    ASSERT_EQ(ui.Messages.size(), 1u);
    EXPECT_EQ(ui.Messages[0].Text, "\nNo reading data.");
    EXPECT_EQ(ui.Messages[0].Kind, MessageKind::Error);
    EXPECT_EQ(ui.Messages[0].Buttons, static_cast<unsigned>(ButtonOk));

    // A store that exists but holds nothing (an aborted read) is no data either.
    program.Store.Replace();
    program.Log.LogFileName = "/logs/empty.nmea";
    EXPECT_EQ(BuildReportText(program), "");
    EXPECT_EQ(ui.Messages.size(), 2u);
}
