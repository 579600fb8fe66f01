#include "ExportTestSupport.h"

#include "app/ExportCommands.h"
#include "app/ReduceDialog.h"
#include "export/TrackThinning.h"

#include <cmath>

using namespace fixtally;
using namespace fixtally::testing;

namespace {

struct ReduceEditCase {
    const char* Distance;
    const char* Seconds;
    const char* DistanceAfter;
    const char* SecondsAfter;
    double Metres;
    double IntervalSeconds; // accepted value; the interval is 0.01 s shorter
};

class ReduceEdits : public ::testing::TestWithParam<ReduceEditCase> {};

TEST_P(ReduceEdits, CorrectsTextsAndDerivesThresholds) {
    const ReduceEditCase& c = GetParam();
    HeadlessPlatform ui;
    Program p(ui);
    ReduceDialog::EditMd(p) = c.Distance;
    ReduceDialog::EditEt(p) = c.Seconds;
    p.Reduce.ButtonOKClick(p);
    EXPECT_TRUE(p.Reduce.ReduceEnabled);
    EXPECT_TRUE(p.Reduce.CloseRequested);
    EXPECT_EQ(p.Settings.Reduce.MovingDist, c.DistanceAfter);
    EXPECT_EQ(p.Settings.Reduce.ElapsesTimes, c.SecondsAfter);
    EXPECT_EQ(p.Reduce.ReduceDistance, c.Metres);
    EXPECT_DOUBLE_EQ(p.Reduce.ReduceInterval, c.IntervalSeconds / 86400 - 0.01 / 86400);
}

INSTANTIATE_TEST_SUITE_P(Texts, ReduceEdits,
                         ::testing::Values(ReduceEditCase{"30.0", "10.0", "30.0", "10.0", 30, 10},
                                           ReduceEditCase{"0", "0.05", "1.0", "0.1", 1, 0.1},
                                           ReduceEditCase{"", "", "1.0", "0.1", 1, 0.1},
                                           ReduceEditCase{"abc", " 2.5 ", "1.0", " 2.5 ", 1, 2.5},
                                           ReduceEditCase{"0.99", "-3", "1.0", "0.1", 1, 0.1},
                                           ReduceEditCase{" 12.5", "0.1", " 12.5", "0.1", 12.5,
                                                          0.1}));

TEST(ReduceDialogButtons, FullKeepsTextsCancelRequestsAbort) {
    HeadlessPlatform ui;
    Program p(ui);
    p.Reduce.ReduceEnabled = true;
    ReduceDialog::EditMd(p) = "0";
    p.Reduce.ButtonFullClick();
    EXPECT_FALSE(p.Reduce.ReduceEnabled);
    EXPECT_EQ(p.Settings.Reduce.MovingDist, "0"); // "Full" does not re-read the edits

    p.Reduce.FormActivate(p); // activation derives the thresholds and corrects the texts
    EXPECT_EQ(p.Settings.Reduce.MovingDist, "1.0");
    EXPECT_FALSE(p.Reduce.CloseRequested);
    p.Reduce.Button1Click(p);
    EXPECT_TRUE(p.Log.AbortRequested);
    EXPECT_TRUE(ReduceDialog::SwallowsKey(U'\r'));
    EXPECT_TRUE(ReduceDialog::SwallowsKey(U'\n'));
    EXPECT_FALSE(ReduceDialog::SwallowsKey(U'1'));
}

// The numbers (from 1) of the records the rule lets through.
std::vector<std::size_t> Passed(const ReduceDialog& dialog, const std::vector<FixRecord>& fixes) {
    TrackThinning thinning(dialog.Rule(), fixes.size());
    std::vector<std::size_t> passed;
    for (std::size_t i = 1; i <= fixes.size(); ++i) {
        if (!thinning.Passes(i, fixes[i - 1])) continue;
        thinning.Written(fixes[i - 1]);
        passed.push_back(i);
    }
    return passed;
}

ReduceDialog Reduced(Program& p, const char* metres, const char* seconds) {
    ReduceDialog::EditMd(p) = metres;
    ReduceDialog::EditEt(p) = seconds;
    p.Reduce.ButtonOKClick(p);
    return p.Reduce;
}

TEST(Thinning, StationaryOneHertzByTimeWritesFirstEveryTenthAndLast) {
    HeadlessPlatform ui;
    Program p(ui);
    ReduceDialog dialog = Reduced(p, "1000", "10");
    std::vector<FixRecord> fixes;
    const double t0 = Day(2014, 5, 17) + 10.0 / 24;
    for (int i = 0; i < 35; ++i) fixes.push_back(Fix(t0 + Seconds(i), 35.0, 139.0));
    EXPECT_EQ(Passed(dialog, fixes), (std::vector<std::size_t>{1, 11, 21, 31, 35}));

    p.Reduce.ButtonFullClick();
    EXPECT_EQ(Passed(p.Reduce, fixes).size(), 35u);
}

TEST(Thinning, CurvedTrackByDistanceMeasuresAlongTheTrack) {
    // A circle of 10 m radius walked in 36 steps of 10 degrees: each step is about 1.745 m,
    // so 30 m along the track take 18 steps, while the straight line from the start never
    // exceeds 20 m.
    HeadlessPlatform ui;
    Program p(ui);
    ReduceDialog dialog = Reduced(p, "30", "3600");
    const double lat0 = 35.0, lon0 = 139.0;
    const double dLat = LatDegreesPerMetre(lat0, lon0), dLon = LonDegreesPerMetre(lat0, lon0);
    const double t0 = Day(2014, 5, 17);
    std::vector<FixRecord> fixes;
    for (int i = 0; i <= 72; ++i) {
        double a = i * 10.0 * 3.141592653589793 / 180;
        fixes.push_back(Fix(t0 + Seconds(i), lat0 + 10 * std::sin(a) * dLat,
                            lon0 + 10 * (1 - std::cos(a)) * dLon));
    }
    // The leg into the first record starts at 0, 0, so the second passes only after a
    // whole 30 m from the first; then every 18th step.
    std::vector<std::size_t> passed = Passed(dialog, fixes);
    ASSERT_GE(passed.size(), 3u);
    EXPECT_EQ(passed.front(), 1u);
    EXPECT_EQ(passed.back(), fixes.size());
    for (std::size_t k = 1; k + 1 < passed.size(); ++k) {
        double along = 0;
        for (std::size_t i = passed[k - 1]; i < passed[k]; ++i)
            along += GeodesicDistance(fixes[i - 1].Latitude, fixes[i - 1].Longitude,
                                      fixes[i].Latitude, fixes[i].Longitude, 0, 0);
        EXPECT_GE(along, 30.0) << "record " << passed[k];
        double before =
            along - GeodesicDistance(fixes[passed[k] - 2].Latitude, fixes[passed[k] - 2].Longitude,
                                     fixes[passed[k] - 1].Latitude, fixes[passed[k] - 1].Longitude,
                                     0, 0);
        EXPECT_LT(before, 30.0) << "record " << passed[k] << " should have passed earlier";
    }
    EXPECT_EQ(passed, (std::vector<std::size_t>{1, 19, 37, 55, 73}));
}

} // namespace
