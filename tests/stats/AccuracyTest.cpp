#include "stats/Accuracy.h"

#include "../support/FixRecords.h"
#include "app/Program.h"
#include "app/Recount.h"
#include "geodesy/Geodesic.h"
#include "platform/HeadlessPlatform.h"
#include "settings/FilterLimits.h"
#include "stats/CountTally.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

namespace fixtally {
namespace {

using testing::Fix;

constexpr double Day20210304 = 44259;
constexpr double Second = 1.0 / 86400;

TEST(NearestRankPercentile, HandWorkedTables) {
    std::vector<double> oneToTwenty;
    for (int i = 20; i >= 1; --i) oneToTwenty.push_back((i * 7) % 20 + 1); // 1..20 shuffled
    const struct {
        const char* name;
        std::vector<double> values;
        double p50, p95, p99;
    } cases[] = {
        {"one value", {3}, 3, 3, 3},
        // k = ceil(0.5 x 2) = 1, ceil(1.9) = 2, ceil(1.98) = 2
        {"two values", {4, 1}, 1, 4, 4},
        // k = 10, 19, ceil(19.8) = 20
        {"twenty values", oneToTwenty, 10, 19, 20},
        // k = 2, ceil(3.8) = 4, 4
        {"ties", {2, 5, 2, 2}, 2, 5, 5},
        // two fixes exactly on the reference: k = ceil(1.5) = 2 is still 0
        {"fixes on the reference", {0, 3, 0}, 0, 3, 3},
        // k = ceil(1.5) = 2, 3, 3; NaN is no value
        {"negative values and NaN", {2, -1, NaN, -5}, -1, 2, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        for (auto [percent, expected] : {std::pair{50, c.p50}, {95, c.p95}, {99, c.p99}}) {
            std::vector<double> values = c.values;
            EXPECT_EQ(NearestRankPercentile(values, percent), expected) << percent;
        }
    }
    std::vector<double> none;
    EXPECT_TRUE(std::isnan(NearestRankPercentile(none, 95)));
}

// Values of one narrow bucket, of many octaves and with many ties all give the rank a full
// sort gives.
TEST(NearestRankPercentile, AgreesWithASortOfManyValues) {
    std::mt19937_64 gen(5);
    std::uniform_real_distribution<double> unit(0, 1);
    std::vector<std::vector<double>> sets(3);
    for (int i = 0; i < 5000; ++i) {
        sets[0].push_back(1.0 + unit(gen) * 1e-9);
        sets[1].push_back(std::exp(unit(gen) * 30 - 15));
        sets[2].push_back(std::floor(unit(gen) * 4) / 4);
    }
    for (std::vector<double>& values : sets) {
        std::vector<double> sorted = values;
        std::sort(sorted.begin(), sorted.end());
        for (int percent : {1, 50, 95, 99, 100}) {
            const std::size_t k = (sorted.size() * percent + 99) / 100;
            EXPECT_EQ(NearestRankPercentile(values, percent), sorted[k - 1]) << percent;
        }
    }
}

FixErrorSamples Samples(const std::vector<double>& east, const std::vector<double>& north,
                        const std::vector<double>& up) {
    FixErrorSamples s;
    s.Keep = s.Complete = true;
    for (std::size_t i = 0; i < east.size(); ++i) {
        const double horizontal = std::hypot(east[i], north[i]);
        s.Add(horizontal, east[i], north[i], up[i]);
        s.HorizontalSquares += horizontal * horizontal;
    }
    return s;
}

TEST(ComputeAccuracy, MeansDeviationsAndThreeDimensionalErrors) {
    // Horizontal errors 5 and 5; one altitude error of 1 m, the other fix has none.
    AccuracyFigures f;
    ASSERT_EQ(ComputeAccuracy(Samples({3, -3}, {4, -4}, {1, NaN}), f), AccuracyOutcome::Computed);
    EXPECT_EQ(f.Fixes, 2);
    EXPECT_EQ(f.FixesWithAltitude, 1);
    EXPECT_EQ(f.Cep50, 5);
    EXPECT_EQ(f.Cep99, 5);
    EXPECT_EQ(f.HorizontalRms, 5);
    EXPECT_EQ(f.EastMean, 0);
    EXPECT_EQ(f.EastSd, 3); // over n, not n - 1
    EXPECT_EQ(f.NorthMean, 0);
    EXPECT_EQ(f.NorthSd, 4);
    EXPECT_EQ(f.UpMean, 1);
    EXPECT_EQ(f.UpSd, 0);
    EXPECT_EQ(f.Vertical50, 1);
    EXPECT_EQ(f.Vertical95, 1);
    EXPECT_DOUBLE_EQ(f.Error3d50, std::sqrt(26.0));

    // Negative altitude errors count by their size.
    ASSERT_EQ(ComputeAccuracy(Samples({0, 0, 0}, {1, 2, 3}, {-4, 1, -2}), f),
              AccuracyOutcome::Computed);
    EXPECT_EQ(f.Vertical50, 2);
    EXPECT_EQ(f.Vertical95, 4);
    EXPECT_DOUBLE_EQ(f.UpMean, -5.0 / 3);
    EXPECT_EQ(f.Cep50, 2);
    EXPECT_EQ(f.Cep95, 3);
}

// Many fixes: the two halves of the fixes are ranked side by side and give what a sort
// gives, also when the halves differ (altitudes only in the second half of an odd count; a
// receiver drifting away, whose largest errors all lie in the second half).
TEST(ComputeAccuracy, ManyFixesAgreeWithASort) {
    enum class Layout { EveryTenthWithoutAltitude, AltitudesInTheSecondHalf, Drifting };
    for (Layout layout :
         {Layout::EveryTenthWithoutAltitude, Layout::AltitudesInTheSecondHalf, Layout::Drifting}) {
        std::mt19937_64 gen(3);
        std::normal_distribution<double> metres(0, 2);
        const int n = layout == Layout::AltitudesInTheSecondHalf ? 100001 : 100000;
        std::vector<double> east, north, up;
        for (int i = 0; i < n; ++i) {
            const double drift = layout == Layout::Drifting ? i * 1e-3 : 0;
            east.push_back(metres(gen) + drift);
            north.push_back(metres(gen));
            const bool noAltitude = layout == Layout::EveryTenthWithoutAltitude
                                        ? i % 10 == 0
                                        : layout == Layout::AltitudesInTheSecondHalf && i < n / 2;
            up.push_back(noAltitude ? NaN : metres(gen) - drift);
        }
        const FixErrorSamples s = Samples(east, north, up);
        AccuracyFigures f;
        ASSERT_EQ(ComputeAccuracy(s, f), AccuracyOutcome::Computed);
        auto rank = [](std::vector<double> values, int percent) {
            std::sort(values.begin(), values.end());
            return values[(values.size() * percent + 99) / 100 - 1];
        };
        std::vector<double> vertical, error3d;
        for (std::size_t i = 0; i < up.size(); ++i) {
            if (std::isnan(up[i])) continue;
            vertical.push_back(std::fabs(up[i]));
            error3d.push_back(std::sqrt(s.Horizontal[i] * s.Horizontal[i] + up[i] * up[i]));
        }
        const int which = static_cast<int>(layout);
        EXPECT_EQ(f.Cep50, rank(s.Horizontal, 50)) << which;
        EXPECT_EQ(f.Cep95, rank(s.Horizontal, 95)) << which;
        EXPECT_EQ(f.Cep99, rank(s.Horizontal, 99)) << which;
        EXPECT_EQ(f.Vertical50, rank(vertical, 50)) << which;
        EXPECT_EQ(f.Vertical95, rank(vertical, 95)) << which;
        EXPECT_EQ(f.Error3d50, rank(error3d, 50)) << which;
        EXPECT_EQ(f.Error3d95, rank(error3d, 95)) << which;
        EXPECT_EQ(f.FixesWithAltitude, static_cast<long long>(vertical.size())) << which;
        if (layout == Layout::EveryTenthWithoutAltitude) {
            EXPECT_EQ(f.FixesWithAltitude, 90000);
            EXPECT_NEAR(f.EastSd, 2, 0.05);
        }
    }
}

TEST(ComputeAccuracy, NoFixGivesNoFigures) {
    AccuracyFigures f;
    ASSERT_EQ(ComputeAccuracy(Samples({}, {}, {}), f), AccuracyOutcome::Computed);
    EXPECT_EQ(f.Fixes, 0);
    EXPECT_EQ(f.FixesWithAltitude, 0);
    for (double v :
         {f.Cep50, f.Cep95, f.Cep99, f.Vertical50, f.Vertical95, f.Error3d50, f.Error3d95,
          f.EastMean, f.EastSd, f.NorthMean, f.NorthSd, f.UpMean, f.UpSd, f.HorizontalRms})
        EXPECT_TRUE(std::isnan(v));

    // Only fixes without an altitude: horizontal figures, no vertical ones.
    ASSERT_EQ(ComputeAccuracy(Samples({1}, {0}, {NaN}), f), AccuracyOutcome::Computed);
    EXPECT_EQ(f.Cep95, 1);
    EXPECT_TRUE(std::isnan(f.Vertical95));
    EXPECT_TRUE(std::isnan(f.Error3d50));
    EXPECT_TRUE(std::isnan(f.UpSd));

    FixErrorSamples incomplete = Samples({1}, {0}, {0});
    incomplete.Complete = false;
    EXPECT_EQ(ComputeAccuracy(incomplete, f), AccuracyOutcome::NotKept);
    EXPECT_EQ(f.Fixes, 0);
}

struct KeptCount : ::testing::Test {
    HeadlessPlatform ui;
    Program p{ui};

    void Load(const std::vector<FixRecord>& fixes) {
        p.Settings.DateFormat = "yyyy/mm/dd";
        p.Store.Replace();
        for (const FixRecord& fix : fixes) p.Store.Append(fix);
        p.CountRange = p.FullRange = TimeRange{fixes.front().Time, fixes.back().Time};
        p.Log.LastFixTime = fixes.back().Time;
    }

    // The "True coordinates" reference with these three texts.
    void UseTruePoint(const char* latitude, const char* longitude, const char* altitude) {
        p.Settings.UseAverage = false;
        p.Settings.TrueLat = latitude;
        p.Settings.TrueLon = longitude;
        p.Settings.TrueAlt = altitude;
    }
};

TEST_F(KeptCount, SignsFollowTheCoordinateDifferencesAgainstTheTrueReference) {
    Load({Fix(Day20210304, 35.0001, 139.0001, 41), Fix(Day20210304 + Second, 35, 139),
          Fix(Day20210304 + 2 * Second, 34.9999, 138.9999),
          Fix(Day20210304 + 3 * Second, 35, 139)});
    p.Store.Append(Fix(0, 35, 139)); // no time: never accepted
    UseTruePoint("35", "139", "40");
    p.FixErrors.Keep = p.FixErrors.KeepTimes = true;
    CountFixes(p);

    const FixErrorSamples& s = p.FixErrors;
    ASSERT_TRUE(s.Complete);
    ASSERT_EQ(s.Count(), 4u);
    EXPECT_EQ(s.East.Count, 4);
    EXPECT_GT(s.East.Shift, 0); // the first fix's offset: north-east of the reference
    EXPECT_GT(s.North.Shift, 0);
    EXPECT_EQ(s.Horizontal[1], 0); // on the reference
    EXPECT_EQ(s.Horizontal[0], GeodesicDistance(35, 139, 35.0001, 139.0001, 0, 0));
    EXPECT_EQ(s.Up[0], 1);
    EXPECT_TRUE(std::isnan(s.Up[1]));
    EXPECT_EQ(s.Time[3], Day20210304 + 3 * Second);
    EXPECT_EQ(s.Quality[0], u'1');

    // Half the fixes lie on the reference: the median radius is 0.
    AccuracyFigures f;
    ASSERT_EQ(ComputeAccuracy(s, f), AccuracyOutcome::Computed);
    EXPECT_EQ(f.Cep50, 0);
    EXPECT_EQ(f.Cep95, std::max(s.Horizontal[0], s.Horizontal[2]));
    EXPECT_EQ(f.FixesWithAltitude, 1);
    // The report's 2drms is twice the horizontal RMS of the same fixes.
    EXPECT_DOUBLE_EQ(2 * f.HorizontalRms, p.Results.ErrorSpread.Horizontal);
}

// One fix in each quarter around the true point: the summed offsets take its signs.
TEST_F(KeptCount, OffsetSignsInEachQuarter) {
    struct Case {
        double latitude, longitude;
        int east, north; // expected sign
    } cases[] = {{35.0001, 139.0001, 1, 1},
                 {34.9999, 139.0001, 1, -1},
                 {34.9999, 138.9999, -1, -1},
                 {35.0001, 138.9999, -1, 1}};
    for (const Case& c : cases) {
        Load({Fix(Day20210304, c.latitude, c.longitude)});
        UseTruePoint("35", "139", "40");
        p.FixErrors.Keep = true;
        CountFixes(p);
        ASSERT_EQ(p.FixErrors.East.Count, 1);
        EXPECT_EQ(p.FixErrors.East.Mean() > 0 ? 1 : -1, c.east) << c.latitude << " " << c.longitude;
        EXPECT_EQ(p.FixErrors.North.Mean() > 0 ? 1 : -1, c.north)
            << c.latitude << " " << c.longitude;
        EXPECT_EQ(p.FixErrors.East.Sd(), 0);
    }
}

TEST_F(KeptCount, AcrossTheAntimeridianEastIsTheShorterWay) {
    Load({Fix(Day20210304, 0, 179.99999), Fix(Day20210304 + Second, 0, -179.99999)});
    UseTruePoint("0", "180", "0");
    p.FixErrors.Keep = true;
    CountFixes(p);
    ASSERT_EQ(p.FixErrors.Count(), 2u);
    // West of 180 degrees, then as far east: no mean offset, a spread of about 1.1 m.
    EXPECT_LT(p.FixErrors.East.Shift, 0);
    EXPECT_NEAR(p.FixErrors.East.Mean(), 0, 1e-9);
    EXPECT_NEAR(p.FixErrors.East.Sd(), 1.113, 0.001);
    EXPECT_TRUE(p.FixErrors.Time.empty()); // times only when asked
}

TEST_F(KeptCount, NoAcceptedFixKeepsNothing) {
    Load({Fix(Day20210304, 35, 139), Fix(Day20210304 + Second, 35, 139)});
    p.FixErrors.Keep = true;
    p.CountRange = TimeRange{Day20210304 + 10 * Second, Day20210304 + 20 * Second};
    CountFixes(p);
    EXPECT_FALSE(p.FixErrors.Complete);
    EXPECT_EQ(p.FixErrors.Count(), 0u);
    AccuracyFigures f;
    EXPECT_NE(ComputeAccuracy(p.FixErrors, f), AccuracyOutcome::Computed);
    EXPECT_EQ(f.Fixes, 0);
    EXPECT_TRUE(std::isnan(f.Cep95));
}

// Keeping the errors changes nothing of the count, in every mode, and every mode keeps the
// same errors; the percentiles equal those of a plain sort.
TEST_F(KeptCount, KeptErrorsLeaveTheTallyAloneAndAgreeWithASort) {
    std::mt19937_64 gen(11);
    std::normal_distribution<double> metres(0, 3);
    std::uniform_int_distribution<int> pick(0, 99);
    std::vector<FixRecord> fixes;
    for (int i = 0; i < 30000; ++i) {
        FixRecord fix = Fix(Day20210304 + i * Second, 35.681236 + metres(gen) / 111000,
                            139.767125 + metres(gen) / 91000, 40 + metres(gen));
        const int kind = pick(gen);
        if (kind < 3) fix.FixQuality = u'0';
        if (kind == 5) fix.Altitude = NaN;
        fixes.push_back(fix);
    }
    Load(fixes);
    p.Limits = ReadFilterLimits(p.Settings);
    const FixFilter filter = CurrentFilter(p);
    const GeoPoint reference{35.6813, 139.7671, 38.5};
    CountTally plain;
    ASSERT_TRUE(TallyFixes(p.Store, filter, reference, {}, plain, TallyMode::Sequential));
    std::vector<FixErrorSamples> kept(3);
    const TallyMode modes[] = {TallyMode::Sequential, TallyMode::Blocked, TallyMode::Parallel};
    for (int m = 0; m < 3; ++m) {
        kept[m].Keep = true;
        CountTally tally;
        ASSERT_TRUE(TallyFixes(p.Store, filter, reference, {}, tally, modes[m], &kept[m]));
        EXPECT_EQ(tally.SumH2, plain.SumH2);
        EXPECT_EQ(tally.SumDa2, plain.SumDa2);
        EXPECT_EQ(tally.Accepted, plain.Accepted);
        ASSERT_TRUE(kept[m].Complete);
        ASSERT_EQ(kept[m].Count(), static_cast<std::size_t>(plain.Accepted));
    }
    EXPECT_EQ(kept[0].Horizontal, kept[1].Horizontal);
    EXPECT_EQ(kept[0].Horizontal, kept[2].Horizontal);
    EXPECT_TRUE(
        std::equal(kept[0].Up.begin(), kept[0].Up.end(), kept[2].Up.begin(), kept[2].Up.end(),
                   [](double a, double b) { return a == b || (std::isnan(a) && std::isnan(b)); }));
    EXPECT_EQ(kept[0].East.Sum, kept[2].East.Sum);
    EXPECT_EQ(kept[0].North.Squares, kept[2].North.Squares);

    AccuracyFigures f;
    ASSERT_EQ(ComputeAccuracy(kept[2], f), AccuracyOutcome::Computed);
    std::vector<double> sorted = kept[2].Horizontal;
    std::sort(sorted.begin(), sorted.end());
    const std::size_t n = sorted.size();
    EXPECT_EQ(f.Cep50, sorted[static_cast<std::size_t>(std::ceil(0.50 * n)) - 1]);
    EXPECT_EQ(f.Cep95, sorted[static_cast<std::size_t>(std::ceil(0.95 * n)) - 1]);
    EXPECT_EQ(f.Cep99, sorted[static_cast<std::size_t>(std::ceil(0.99 * n)) - 1]);
    EXPECT_NEAR(f.HorizontalRms, std::sqrt(plain.SumH2 / plain.Accepted), 1e-9);
    EXPECT_EQ(f.FixesWithAltitude, plain.AltitudeCount);
}

} // namespace
} // namespace fixtally
