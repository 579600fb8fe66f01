#include "app/Recount.h"

#include "../support/FixRecords.h"
#include "app/Program.h"
#include "app/ResultsView.h"
#include "app/TrueCoordinates.h"
#include "display/FixedText.h"
#include "display/ResultsDisplay.h"
#include "geodesy/Geodesic.h"
#include "graph/RangeTable.h"
#include "platform/HeadlessPlatform.h"
#include "settings/FilterLimits.h"
#include "stats/CountTally.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>

namespace fixtally {
namespace {

using testing::Fix;

constexpr double Day20210304 = 44259; // 2021-03-04 00:00 UTC as a day number
constexpr double Second = 1.0 / 86400;

struct CountFixture : ::testing::Test {
    HeadlessPlatform ui;
    Program p{ui};

    CountFixture() {
        p.Settings.DateFormat = "yyyy/mm/dd";
        p.Store.Replace();
    }
    // Stores the fixes and sets both ranges to their time span, as a reader does.
    void Load(const std::vector<FixRecord>& fixes) {
        p.Store.Replace();
        double first = 0, last = 0;
        for (const FixRecord& fix : fixes) {
            p.Store.Append(fix);
            if (first == 0 || fix.Time < first) first = fix.Time;
            if (fix.Time > last) last = fix.Time;
            p.Log.LastFixTime = fix.Time;
        }
        p.CountRange = p.FullRange = TimeRange{first, last};
    }
};

TEST_F(CountFixture, TwoFixWorkedExample) {
    Load({Fix(Day20210304, 35.0000, 139.0), Fix(Day20210304 + Second, 35.0001, 139.0)});
    p.Settings.RangeIndex = 7;
    CountFixes(p);

    const StatisticsResults& r = p.Results;
    EXPECT_DOUBLE_EQ(r.AveragePoint.Latitude, 35.00005);
    EXPECT_DOUBLE_EQ(r.AveragePoint.Longitude, 139.0);
    EXPECT_TRUE(std::isnan(r.AveragePoint.Altitude));
    EXPECT_NEAR(r.ErrorSpread.Horizontal, 11.09406, 5e-6);
    EXPECT_EQ(r.ErrorSpread.NorthSouth, r.ErrorSpread.Horizontal);
    EXPECT_EQ(r.ErrorSpread.EastWest, 0);
    EXPECT_TRUE(std::isnan(r.ErrorSpread.Altitude));

    EXPECT_EQ(p.Main.tCenterEditH2drms, "11.09406m");
    EXPECT_EQ(p.Main.tCenterEditNS2drms, "11.09406m");
    EXPECT_EQ(p.Main.tCenterEditEW2drms, " 0.00000m");
    EXPECT_EQ(p.Main.tCenterEditAlt2drms, "");
    EXPECT_EQ(p.Main.tCenterEditAltAve, "");
    EXPECT_EQ(p.Main.tCenterEditAP, "");
    EXPECT_EQ(p.Main.tCenterEditDgpsP, "100.0%");
    // Each fix is 5.54703 m from the average.
    EXPECT_EQ(p.Main.tCenterEditHP.substr(0, 28), "5.54703m  2021/03/04 00:00:0");
    EXPECT_EQ(p.Main.tCenterEditHP.substr(29), "(UTC)");
    EXPECT_EQ(p.Main.LabelStatus,
              "2021/03/04 00:00:00 to 2021/03/04 00:00:01(UTC) elapsed: 00:00:01  2:0records.");
    // 5.547 m is at least 0.999 x 5 m, so the 10 m range.
    EXPECT_EQ(p.Settings.RangeIndex, 13);
    EXPECT_TRUE(p.Main.ButtonCopyAveVisible);
    EXPECT_FALSE(ui.BusyCursor);

    p.Settings.TwoDrms = false;
    SetProbabilityCaption(p);
    EXPECT_EQ(p.Main.GroupBox2drms, " CEP(50%) ");
    EXPECT_EQ(p.Main.tCenterEditH2drms, "4.61817m");
}

TEST_F(CountFixture, AverageAltitudePeaksSatellitesAndDop) {
    std::vector<FixRecord> fixes;
    for (int i = 0; i < 4; ++i) {
        FixRecord fix = Fix(Day20210304 + i * Second, 35 + i * 1e-5, 139, 30 + i);
        fix.SatsUsed = static_cast<std::uint8_t>(7 + i);
        fix.SatsExtra = static_cast<std::uint8_t>(2 * i);
        fix.Hdop = 0.8 + 0.1 * i;
        fix.Pdop = 1.5;
        fixes.push_back(fix);
    }
    fixes[2].SatsUsed = 255;
    fixes[3].Altitude = NaN;
    Load(fixes);
    p.Settings.AltDecimal = "2";
    CountFixes(p);

    EXPECT_EQ(p.Main.tCenterEditAltAve, "31.00m");
    // Squares 1, 0, 1 over the three fixes with an altitude: 2 x sqrt(2 / 3), not sqrt(2 / 4).
    EXPECT_EQ(p.Main.tCenterEditAlt2drms, "1.63299m");
    EXPECT_EQ(p.Main.tCenterEditSuAve, "8.3(3.0)");
    EXPECT_EQ(p.Main.tCenterEditSuMin, "7(0)");
    EXPECT_EQ(p.Main.tCenterEditSuMax, "10(6)");
    EXPECT_EQ(p.Main.tCenterEditHdopAve, "0.950");
    EXPECT_EQ(p.Main.tCenterEditHdopMin, "0.800");
    EXPECT_EQ(p.Main.tCenterEditHdopMax, "1.100");
    EXPECT_EQ(p.Main.tCenterEditVdopAve, "");
    EXPECT_EQ(p.Main.tCenterEditPdopMax, "1.500");
    // Altitudes 30, 31, 32 around 31: the first of the two 1 m peaks counts, signed.
    EXPECT_EQ(p.Main.tCenterEditAP, "-1.00000m  2021/03/04 00:00:00(UTC)");
    EXPECT_EQ(p.Main.tCenterEditHP.substr(0, 10), " 1.66411m ");
    EXPECT_NE(p.Main.LabelStatus.find("  4:3records."), std::string::npos);
}

TEST_F(CountFixture, AutoRangeFollowsTheLargerAxisOffset) {
    const struct {
        double northSouth, eastWest; // degrees between the two fixes
        int index;
    } cases[] = {
        {0.0001, 0, 13},       // 5.5 m north-south: the 10 m range
        {0, 0.0004, 14},       // 18.3 m east-west: the 20 m range
        {0.00001, 0.0004, 14}, // the east-west offset is the larger one
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.eastWest);
        Load({Fix(Day20210304, 35, 139),
              Fix(Day20210304 + Second, 35 + c.northSouth, 139 + c.eastWest)});
        p.Settings.RangeIndex = 7;
        CountFixes(p);
        EXPECT_EQ(p.Settings.RangeIndex, c.index);
    }
}

TEST_F(CountFixture, OneFixShowsZeroSpreadsAndNoPeaks) {
    Load({Fix(Day20210304, 35, 139, 12)});
    CountFixes(p);
    EXPECT_EQ(p.Main.tCenterEditH2drms, "0.00000m");
    EXPECT_EQ(p.Main.tCenterEditAlt2drms, "0.00000m");
    EXPECT_EQ(p.Main.tCenterEditHP, "");
    EXPECT_EQ(p.Main.tCenterEditAP, "");
    EXPECT_EQ(p.Settings.RangeIndex, 1);
}

TEST_F(CountFixture, SatellitesAbsentButExtraPresent) {
    FixRecord a = Fix(Day20210304, 35, 139), b = Fix(Day20210304 + Second, 35, 139);
    a.SatsExtra = 5;
    b.SatsExtra = 6;
    Load({a, b});
    CountFixes(p);
    EXPECT_EQ(p.Main.tCenterEditSuAve, "(5.5)");
    EXPECT_EQ(p.Main.tCenterEditSuMin, "(5)");
    EXPECT_EQ(p.Main.tCenterEditSuMax, "(6)");
}

TEST_F(CountFixture, DopOf255OrMoreLeavesTheRowEmpty) {
    FixRecord a = Fix(Day20210304, 35, 139);
    a.Hdop = 255;
    Load({a});
    p.Settings.HDOPlim = "999";
    CountFixes(p);
    EXPECT_EQ(p.Main.tCenterEditHdopAve, "");
    EXPECT_EQ(p.Main.tCenterEditHdopMax, "");
}

TEST_F(CountFixture, NoAcceptedFixLeavesFieldsEmptyAndRangeAlone) {
    FixRecord bad = Fix(Day20210304, 35, 139);
    bad.FixQuality = u'0';
    Load({bad});
    p.Main.tCenterEditH2drms = "old";
    p.Settings.RangeIndex = 20;
    CountFixes(p);
    EXPECT_EQ(p.Main.LabelStatus, "***** no effective data *****");
    EXPECT_EQ(p.Main.tCenterEditH2drms, "");
    EXPECT_EQ(p.Settings.RangeIndex, 20);
    EXPECT_TRUE(std::isnan(p.Results.ErrorSpread.Horizontal));
    EXPECT_FALSE(ui.BusyCursor);
}

TEST_F(CountFixture, UnusableTrueCoordinatesKeepThePreviousResults) {
    Load({Fix(Day20210304, 35, 139), Fix(Day20210304 + Second, 35.0001, 139)});
    CountFixes(p);
    const std::string before = p.Main.tCenterEditH2drms;
    p.Settings.UseAverage = false;
    p.Settings.TrueLat = "35";
    p.Settings.TrueLon = "139";
    p.Settings.TrueAlt = ""; // all three are required
    CountFixes(p);
    ASSERT_EQ(ui.Messages.size(), 1u);
    EXPECT_EQ(ui.Messages[0].Text, "Please set \"True coordinates\" correctly. ");
    EXPECT_EQ(p.Main.tCenterEditH2drms, before);
    EXPECT_FALSE(p.Main.LabelStatus.empty());
}

TEST_F(CountFixture, TrueReferenceShowsTheDifference) {
    Load({Fix(Day20210304, 35.0001, 139.0001, 50),
          Fix(Day20210304 + Second, 35.0001, 139.0001, 52)});
    p.Settings.UseAverage = false;
    p.Settings.TrueLat = "N35";
    p.Settings.TrueLon = "E139";
    p.Settings.TrueAlt = "100ft";
    CountFixes(p);
    EXPECT_TRUE(p.Results.UseTrueReference);
    EXPECT_DOUBLE_EQ(p.Results.ReferencePoint.Altitude, 30.48);
    const AxisOffset offset = AxisOffsets(35, 139, 35.0001, 139.0001);
    EXPECT_EQ(p.Main.tCenterEditEwDiff, FixedText(offset.East, 5) + "m");
    EXPECT_EQ(p.Main.tCenterEditNsDiff, FixedText(offset.North, 5) + "m");
    EXPECT_EQ(p.Main.tCenterEditAltDiff, "20.52000m");
    EXPECT_EQ(p.Main.tCenterEditHorDiff,
              FixedText(GeodesicDistance(35.0001, 139.0001, 35, 139, 0, 0), 5) + "m");

    // Southwest of the true point the offsets carry "-".
    p.Settings.TrueLat = "35.001";
    p.Settings.TrueLon = "139.001";
    CountFixes(p);
    EXPECT_EQ(p.Main.tCenterEditEwDiff[0], '-');
    EXPECT_EQ(p.Main.tCenterEditNsDiff[0], '-');
}

TEST_F(CountFixture, EqualPeaksKeepTheEarlierTime) {
    Load({Fix(Day20210304, 35.001, 139, 20), Fix(Day20210304 + Second, 35, 139, 10),
          Fix(Day20210304 + 2 * Second, 35.001, 139, 20)});
    p.Settings.UseAverage = false;
    p.Settings.TrueLat = "35";
    p.Settings.TrueLon = "139";
    p.Settings.TrueAlt = "10";
    CountFixes(p);
    EXPECT_NE(p.Main.tCenterEditHP.find("2021/03/04 00:00:00(UTC)"), std::string::npos);
    EXPECT_EQ(p.Main.tCenterEditAP.substr(p.Main.tCenterEditAP.size() - 24),
              "2021/03/04 00:00:00(UTC)");
}

TEST_F(CountFixture, PassPercentageCountsOnlyTheRange) {
    std::vector<FixRecord> fixes;
    for (int i = 0; i < 8; ++i) {
        FixRecord fix = Fix(Day20210304 + i * Second, 35, 139);
        if (i % 4 == 0) fix.FixQuality = u'0';
        fixes.push_back(fix);
    }
    Load(fixes);
    p.CountRange = {Day20210304, Day20210304 + 3.5 * Second}; // records 0..3
    CountFixes(p);
    EXPECT_EQ(p.Main.tCenterEditDgpsP, "75.0%");
}

TEST_F(CountFixture, FirstTimeIgnoresLaterTimeOfDayFixes) {
    FixRecord dated = Fix(Day20210304 + 0.5, 35, 139);
    FixRecord dayOnly = Fix(0.25, 35, 139);
    FixRecord later = Fix(Day20210304 + 0.75, 35, 139);
    Load({dated, dayOnly, later});
    CountFixes(p);
    EXPECT_EQ(p.Main.LabelStatus.substr(0, 42), "2021/03/04 12:00:00 to 2021/03/04 18:00:00");
}

TEST_F(CountFixture, EscDuringTheMainPassLeavesTheFieldsEmpty) {
    std::vector<FixRecord> fixes;
    for (int i = 0; i < 5000; ++i) fixes.push_back(Fix(Day20210304 + i * Second, 35, 139));
    Load(fixes);
    ui.InjectEscAfter(2, &p.Log.AbortRequested);
    CountFixes(p);
    EXPECT_EQ(p.Main.tCenterEditH2drms, "");
    EXPECT_EQ(p.Main.LabelStatus, "");
    EXPECT_EQ(ui.ProcessMessagesCalls, 2);
    EXPECT_FALSE(ui.BusyCursor);

    // A later recount clears the request and completes.
    CountFixes(p);
    EXPECT_NE(p.Main.LabelStatus.find("5000:0records."), std::string::npos);
}

// Everything the count adds up, compared bit for bit.
void ExpectSameTally(const CountTally& a, const CountTally& b) {
    auto same = [](double x, double y) { return std::memcmp(&x, &y, sizeof x) == 0; };
    EXPECT_EQ(a.InRange, b.InRange);
    EXPECT_EQ(a.Accepted, b.Accepted);
    EXPECT_TRUE(same(a.FirstTime, b.FirstTime));
    EXPECT_TRUE(same(a.LastTime, b.LastTime));
    EXPECT_TRUE(same(a.SumH2, b.SumH2));
    EXPECT_TRUE(same(a.SumNs2, b.SumNs2));
    EXPECT_TRUE(same(a.SumEw2, b.SumEw2));
    EXPECT_TRUE(same(a.LargestAxisOffset, b.LargestAxisOffset));
    EXPECT_TRUE(same(a.PeakHorizontal, b.PeakHorizontal));
    EXPECT_TRUE(same(a.PeakHorizontalTime, b.PeakHorizontalTime));
    EXPECT_EQ(a.AltitudeCount, b.AltitudeCount);
    EXPECT_TRUE(same(a.AltitudeSum, b.AltitudeSum));
    EXPECT_TRUE(same(a.SumDa2, b.SumDa2));
    EXPECT_TRUE(same(a.PeakAltitude, b.PeakAltitude));
    EXPECT_TRUE(same(a.PeakAltitudeTime, b.PeakAltitudeTime));
    for (auto [x, y] : {std::pair{a.SatsUsed, b.SatsUsed}, std::pair{a.SatsExtra, b.SatsExtra}}) {
        EXPECT_EQ(x.Min, y.Min);
        EXPECT_EQ(x.Max, y.Max);
        EXPECT_EQ(x.Sum, y.Sum);
        EXPECT_EQ(x.Count, y.Count);
    }
    for (auto [x, y] :
         {std::pair{a.Hdop, b.Hdop}, std::pair{a.Vdop, b.Vdop}, std::pair{a.Pdop, b.Pdop}}) {
        EXPECT_TRUE(same(x.Min, y.Min));
        EXPECT_TRUE(same(x.Max, y.Max));
        EXPECT_TRUE(same(x.Sum, y.Sum));
        EXPECT_EQ(x.Count, y.Count);
    }
}

TEST_F(CountFixture, FastPassesAddUpExactlyLikeTheSequentialOne) {
    std::mt19937_64 gen(7);
    std::normal_distribution<double> metres(0, 3);
    std::uniform_int_distribution<int> pick(0, 99);
    std::vector<FixRecord> fixes;
    for (int i = 0; i < 40000; ++i) {
        FixRecord fix = Fix(Day20210304 + i * Second, 35.681236 + metres(gen) / 111000,
                            139.767125 + metres(gen) / 91000, 40 + metres(gen));
        fix.Hdop = 0.5 + pick(gen) / 50.0;
        fix.SatsUsed = static_cast<std::uint8_t>(4 + pick(gen) % 12);
        const int kind = pick(gen);
        if (kind < 3) fix.FixQuality = u'0';       // rejected by quality
        if (kind == 5) fix.Altitude = NaN;         // no altitude
        if (kind == 6) fix.Hdop = 150;             // rejected by HDOP
        if (kind == 7) fix.Longitude = 139.767125; // on the reference meridian? close to it
        if (kind == 8) fix.Time = 0.3;             // time of day only: out of range
        fixes.push_back(fix);
    }
    Load(fixes);
    p.CountRange.Start = Day20210304 + 100 * Second;
    p.Limits = ReadFilterLimits(p.Settings);
    for (const GeoPoint reference :
         {GeoPoint{35.681236, 139.767125, 40}, GeoPoint{35.6813, 139.7671, 38.5}}) {
        CountTally sequential, blocked, parallel;
        const FixFilter filter = CurrentFilter(p);
        ASSERT_TRUE(TallyFixes(p.Store, filter, reference, {}, sequential, TallyMode::Sequential));
        ASSERT_TRUE(TallyFixes(p.Store, filter, reference, {}, blocked, TallyMode::Blocked));
        ASSERT_TRUE(TallyFixes(p.Store, filter, reference, {}, parallel, TallyMode::Parallel));
        EXPECT_GT(sequential.Accepted, 30000);
        ExpectSameTally(sequential, blocked);
        ExpectSameTally(sequential, parallel);
    }
}

TEST_F(CountFixture, FastPassStopsAtTheSameRecordOnEsc) {
    std::vector<FixRecord> fixes;
    for (int i = 0; i < 40000; ++i)
        fixes.push_back(Fix(Day20210304 + i * Second, 35 + (i % 7) * 1e-6, 139));
    Load(fixes);
    p.Limits = ReadFilterLimits(p.Settings);
    for (TallyMode mode : {TallyMode::Sequential, TallyMode::Parallel}) {
        int calls = 0;
        const CountProgress escAfterTwenty = [&calls] { return ++calls < 20; };
        CountTally tally;
        EXPECT_FALSE(TallyFixes(p.Store, CurrentFilter(p), GeoPoint{35, 139, 0}, escAfterTwenty,
                                tally, mode));
        EXPECT_EQ(tally.Accepted, 20 * 1024);
        EXPECT_EQ(calls, 20);
    }
}

} // namespace
} // namespace fixtally
