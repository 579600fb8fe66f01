#include "display/ResultsDisplay.h"
#include "app/ResultsView.h"

#include "app/Program.h"
#include "display/FixedText.h"
#include "platform/HeadlessPlatform.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <vector>

namespace fixtally {
namespace {

struct DisplayFixture : ::testing::Test {
    HeadlessPlatform ui;
    Program p{ui};
};

TEST(FixedTextTest, Notation) {
    EXPECT_EQ(FixedText(35.678, 2), "35.68");
    EXPECT_EQ(FixedText(35.6812345, 7), "35.6812345");
    EXPECT_EQ(FixedText(-1.25, 1), "-1.2"); // ties to even, as the decimal value is exact
    EXPECT_EQ(FixedText(-0.000001, 5), "0.00000");
    EXPECT_EQ(FixedText(-0.0, 2), "0.00");
    EXPECT_EQ(FixedText(-0.5, 0), "0");
    EXPECT_EQ(FixedText(12, 0), "12");
    EXPECT_EQ(FixedText(1.5, -3), "2");
    EXPECT_EQ(FixedText(0.1, 40), "0.100000000000000006");
    EXPECT_EQ(FixedText(1e15, 2), "1.00000000000000E+15");
    EXPECT_EQ(FixedText(999999999999999.0, 1), "999999999999999.0");
    EXPECT_EQ(FixedText(NaN, 2), "NAN");
    EXPECT_EQ(FixedText(5.5, 1, 6), "   5.5");
}

TEST_F(DisplayFixture, ZeroDecimalsFollowTheLogWithoutOverwritingTheUsersZero) {
    p.Log.LogPosDecimals = 1;
    p.Log.LogAltDecimals = 8;
    ReadDisplayDecimals(p);
    EXPECT_EQ(p.Main.PosDecimals, 3);
    EXPECT_EQ(p.Main.AltDecimals, 6);
    EXPECT_EQ(p.Settings.PosDecimal, "0");
    EXPECT_EQ(p.Settings.AltDecimal, "0");

    // The next log decides again.
    p.Log.LogPosDecimals = 5;
    p.Log.LogAltDecimals = 2;
    ReadDisplayDecimals(p);
    EXPECT_EQ(p.Main.PosDecimals, 5);
    EXPECT_EQ(p.Main.AltDecimals, 2);
}

TEST_F(DisplayFixture, TypedDecimalsAreClampedAndCorrected) {
    const struct {
        const char* pos;
        int posUsed;
        const char* posAfter;
        const char* alt;
        int altUsed;
        const char* altAfter;
    } cases[] = {
        {"12", 9, "9", "-2", 1, "1"},
        {"2", 3, "3", "7", 6, "6"},
        {"4", 4, "4", "3", 3, "3"},
        {"abc", 4, "abc", "", 2, ""}, // unreadable: the log decides, the text stays
    };
    for (const auto& c : cases) {
        p.Log.LogPosDecimals = 4;
        p.Log.LogAltDecimals = 2;
        p.Settings.PosDecimal = c.pos;
        p.Settings.AltDecimal = c.alt;
        ReadDisplayDecimals(p);
        EXPECT_EQ(p.Main.PosDecimals, c.posUsed) << c.pos;
        EXPECT_EQ(p.Settings.PosDecimal, c.posAfter) << c.pos;
        EXPECT_EQ(p.Main.AltDecimals, c.altUsed) << c.alt;
        EXPECT_EQ(p.Settings.AltDecimal, c.altAfter) << c.alt;
    }
}

TEST_F(DisplayFixture, DistanceAndDopDecimalsFallBack) {
    p.Settings.AltDecimal = "2";
    p.Settings.ErrorDecimal = "0";
    p.Settings.DopDecimal = "0";
    ReadDisplayDecimals(p);
    EXPECT_EQ(p.Main.ErrorDecimals, 2);
    EXPECT_EQ(p.Settings.ErrorDecimal, "2");
    EXPECT_EQ(p.Main.DopDecimals, 3);
    EXPECT_EQ(p.Settings.DopDecimal, "3");

    p.Settings.ErrorDecimal = "25"; // not clamped; written with 18 at most
    ReadDisplayDecimals(p);
    EXPECT_EQ(p.Main.ErrorDecimals, 25);
    EXPECT_EQ(p.Settings.ErrorDecimal, "25");
}

TEST_F(DisplayFixture, SpreadFieldsArePairedToEqualWidth) {
    p.Main.ErrorDecimals = 5;
    p.Results.ErrorSpread = {0.12345, 1.5, 22.25, 12.34567};
    ShowSpreadFields(p);
    EXPECT_EQ(p.Main.tCenterEditH2drms, " 0.12345m");
    EXPECT_EQ(p.Main.tCenterEditAlt2drms, "12.34567m");
    EXPECT_EQ(p.Main.tCenterEditEW2drms, " 1.50000m");
    EXPECT_EQ(p.Main.tCenterEditNS2drms, "22.25000m");

    p.Results.ErrorSpread = {123.5, 0.5, 0.5, NaN};
    ShowSpreadFields(p);
    EXPECT_EQ(p.Main.tCenterEditH2drms, "123.50000m");
    EXPECT_EQ(p.Main.tCenterEditAlt2drms, "");
}

TEST_F(DisplayFixture, ProbabilityToggleWithoutResultsLeavesFieldsEmpty) {
    p.Settings.TwoDrms = false;
    SetProbabilityCaption(p);
    EXPECT_EQ(p.Main.GroupBox2drms, " CEP(50%) ");
    EXPECT_EQ(p.Main.tCenterEditH2drms, "");
    EXPECT_EQ(p.Main.tCenterEditNS2drms, "");
    p.Settings.TwoDrms = true;
    SetProbabilityCaption(p);
    EXPECT_EQ(p.Main.GroupBox2drms, " 2drms ");
}

TEST_F(DisplayFixture, AveragePositionInBothForms) {
    p.Main.PosDecimals = 3;
    p.Results.AveragePoint = {35.6812345, -139.767125, 40};
    p.Settings.DDMMSS = false;
    ShowAveragePosition(p);
    EXPECT_EQ(p.Main.tCenterEditLatAve, "35.6812345");
    EXPECT_EQ(p.Main.tCenterEditLonAve, "-139.7671250");
    p.Settings.DDMMSS = true;
    ShowAveragePosition(p);
    EXPECT_EQ(p.Main.tCenterEditLatAve, " 35\u00b040'52.444\"N");
    EXPECT_EQ(p.Main.tCenterEditLonAve, "139\u00b046'01.650\"W");
    p.Results.AveragePoint.Latitude = NaN;
    ShowAveragePosition(p);
    EXPECT_EQ(p.Main.tCenterEditLatAve, "");
    EXPECT_EQ(p.Main.tCenterEditLonAve, "");
}

TEST_F(DisplayFixture, FilterLabelShowsTheGroupInForce) {
    ShowFilterLabel(p);
    EXPECT_EQ(p.Main.LabelDgps, ">=1 SPS");
    p.Log.IsRtklibLog = true;
    p.Settings.RTK_QS = "<=";
    ShowFilterLabel(p);
    EXPECT_EQ(p.Main.LabelDgps, "<=1 fix");
}

TEST(StatusLineText, SpanElapsedTimeAndCounts) {
    const double first = 44259; // 2021/03/04
    const double last = first + 1 + (3600 + 30 * 60 + 15) / 86400.0;
    EXPECT_EQ(StatusLineText(first, last, 5400, 5398, "yyyy/mm/dd"),
              "2021/03/04 00:00:00 to 2021/03/05 01:30:15(UTC) elapsed: 1 "
              "01:30:15  5400:5398records.");
    EXPECT_EQ(StatusLineText(first, first + 0.5, 2, 0, "yyyy/mm/dd"),
              "2021/03/04 00:00:00 to 2021/03/04 12:00:00(UTC) elapsed: "
              "12:00:00  2:0records.");
}

TEST(ElapsedTextTest, WholeMillisecondsFirst) {
    EXPECT_EQ(ElapsedText(0), "00:00:00");
    EXPECT_EQ(ElapsedText(1.5), "1 12:00:00");
    EXPECT_EQ(ElapsedText(12 + 59 / 1440.0), "12 00:59:00");
    // A span a hair short of a day is a day, not "24:00:00".
    EXPECT_EQ(ElapsedText(1 - 1e-12), "1 00:00:00");
    EXPECT_EQ(ElapsedText(1.9996 / 86400), "00:00:02");
}

TEST_F(DisplayFixture, PeakTimesWithAndWithoutDates) {
    p.Settings.DateFormat = "yyyy/mm/dd";
    const double t = 44259 + (5 * 3600 + 6 * 60 + 7.5) / 86400;
    p.Log.LastFixTime = 44260;
    EXPECT_EQ(PeakTimeText(p, t), "  2021/03/04 05:06:07.5(UTC)");
    p.Log.LastFixTime = 0.5;
    EXPECT_EQ(PeakTimeText(p, t - 44259), "  05:06:07.5(UTC)");
}

TEST_F(DisplayFixture, ClearResultsEmptiesEveryField) {
    for (const ResultField& field : ResultFields()) p.Main.*field.Text = "x";
    p.Main.LabelStatus = "x";
    ClearResults(p);
    for (const ResultField& field : ResultFields()) EXPECT_EQ(p.Main.*field.Text, "") << field.Name;
    EXPECT_EQ(p.Main.LabelStatus, "");
}

TEST(ResultFieldsTest, EveryFieldOnceByItsControlName) {
    std::set<std::string> names;
    std::vector<std::string MainWindowModel::*> members;
    for (const ResultField& field : ResultFields()) {
        names.insert(field.Name);
        for (auto member : members) EXPECT_NE(member, field.Text) << field.Name;
        members.push_back(field.Text);
        EXPECT_EQ(std::string(field.Name).rfind("tCenterEdit", 0), 0u);
    }
    EXPECT_EQ(names.size(), 26u);
    EXPECT_EQ(members.size(), 26u);
    EXPECT_EQ(ResultFields().front().Name, std::string("tCenterEditLatAve"));
}

TEST_F(DisplayFixture, ClearStatusBarTakesBackTheProgress) {
    p.Main.StatusPanel0 = "  Loading";
    p.Main.StatusPanel1 = "GGA 12";
    ClearStatusBar(p);
    EXPECT_EQ(p.Main.StatusPanel0, "");
    EXPECT_EQ(p.Main.StatusPanel1, "");
    EXPECT_EQ(ui.TaskbarUpdates, 0); // no taskbar progress here

    ui.TaskbarMax = 128;
    ui.TaskbarValue = 77;
    ui.Taskbar = TaskbarState::Normal;
    ClearStatusBar(p);
    EXPECT_EQ(ui.TaskbarValue, 0);
    EXPECT_EQ(ui.Taskbar, TaskbarState::None);
}

} // namespace
} // namespace fixtally
