#include "graph/DensityGrid.h"
#include "app/GraphCommands.h"

#include "app/Program.h"
#include "geodesy/Geodesic.h"
#include "platform/HeadlessPlatform.h"
#include "stats/FixFilter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace fixtally {
namespace {

constexpr double Lat0 = 35.681236, Lon0 = 139.767125;
constexpr double Day = 46000.5; // a time with a date

FixRecord Fix(double lat, double lon, double time = Day) {
    FixRecord fix;
    fix.Time = time;
    fix.Latitude = lat;
    fix.Longitude = lon;
    fix.FixQuality = u'1';
    return fix;
}

// Latitude whose signed meridian distance from the reference is `metres` (north positive).
double LatitudeAt(double metres) {
    double lat = Lat0 + metres / 111000;
    for (int i = 0; i < 20; ++i) {
        const double distance = GeodesicDistance(Lat0, Lon0, lat, Lon0, 0, 0);
        lat += (metres - (lat < Lat0 ? -distance : distance)) / 111000;
    }
    return lat;
}

GraphCounter CellAt(const ScatterGraph& graph, int north, int east) {
    return graph
        .Cells[static_cast<std::size_t>((GraphCentre - north) * GraphSize + GraphCentre + east)];
}

long TotalCount(const ScatterGraph& graph) {
    long total = 0;
    for (GraphCounter c : graph.Cells) total += c;
    return total;
}

struct GraphProgram : ::testing::Test {
    HeadlessPlatform ui;
    Program program{ui};

    void SetUp() override {
        program.Store.Replace();
        program.CountRange = {Day - 1, Day + 1};
        program.Graph.GraphRange = 1.0;
    }
    void Draw() { DrawScatterGraph(program, Lon0, Lat0, 0); }
};

TEST_F(GraphProgram, FixAtEdgeOfRangeRoundsOutOfThePicture) {
    // 0.998 of the range is 154.69 pixels: rounds to 155 and is not drawn.
    program.Store.Append(Fix(LatitudeAt(0.998), Lon0));
    program.Store.Append(Fix(LatitudeAt(0.996), Lon0)); // 154.38 pixels: cell 154
    program.Store.Append(Fix(Lat0, Lon0));
    Draw();
    const ScatterGraph& graph = program.Graph;
    EXPECT_TRUE(graph.HasDots);
    EXPECT_EQ(TotalCount(graph), 2);
    EXPECT_EQ(CellAt(graph, 154, 0), 1u);
    EXPECT_EQ(CellAt(graph, 0, 0), 1u);
}

TEST_F(GraphProgram, OffsetsAreSignedNorthUpEastRight) {
    const double east = Lon0 + 0.3 / 90000; // about 0.27 m east
    program.Store.Append(Fix(LatitudeAt(-0.52), east));
    Draw();
    const PixelOffset expected = GraphPixelOffset(Lat0, Lon0, LatitudeAt(-0.52), east, 1.0);
    EXPECT_NEAR(expected.North, -80.6, 1e-6);
    EXPECT_GT(expected.East, 30);
    EXPECT_EQ(CellAt(program.Graph, -81, static_cast<int>(std::nearbyint(expected.East))), 1u);
}

TEST_F(GraphProgram, OnlyAcceptedFixesAreCounted) {
    program.Settings.HDOPlim = "2.0";
    FixRecord highDop = Fix(Lat0, Lon0);
    highDop.Hdop = 3;
    program.Store.Append(highDop);
    program.Store.Append(Fix(Lat0, Lon0, 0));       // no time
    program.Store.Append(Fix(Lat0, Lon0, Day + 2)); // outside the count range
    program.Store.Append(Fix(NAN, Lon0));
    program.Store.Append(Fix(Lat0, Lon0));
    Draw();
    EXPECT_EQ(TotalCount(program.Graph), 1);
    EXPECT_EQ(program.Limits.HdopLimit, 2.0);
}

TEST_F(GraphProgram, ReadsAndCorrectsTheGraphSettings) {
    program.Settings.GPixels = "100";
    program.Settings.MiniColor = "10";
    program.Settings.MaxColor = "12";
    program.Settings.Monotone = true;
    program.Store.Append(Fix(Lat0, Lon0));
    Draw();
    const ScatterGraph& graph = program.Graph;
    EXPECT_EQ(program.Settings.GPixels, "64");
    EXPECT_EQ(graph.DotSide, 8);
    EXPECT_EQ(graph.DotLo, -3);
    EXPECT_EQ(graph.DotHi, 4);
    EXPECT_EQ(program.Settings.MiniColor, "22");
    EXPECT_EQ(program.Settings.MaxColor, "10");
    EXPECT_EQ(graph.Brightest, 22);
    EXPECT_EQ(graph.Darkest, 10);
    EXPECT_TRUE(graph.Monotone);
}

TEST_F(GraphProgram, MissingReferenceLeavesTheBackground) {
    program.Store.Append(Fix(Lat0, Lon0));
    Draw();
    ASSERT_TRUE(program.Graph.HasDots);
    const unsigned revision = program.Graph.Revision;
    DrawScatterGraph(program, NAN, Lat0, 0);
    EXPECT_FALSE(program.Graph.HasDots);
    EXPECT_EQ(TotalCount(program.Graph), 0);
    EXPECT_GT(program.Graph.Revision, revision);
    EXPECT_FALSE(ui.BusyCursor);
    EXPECT_FALSE(ui.RepaintLocked);
}

TEST(GraphWithoutStore, DrawsNothing) {
    HeadlessPlatform ui;
    Program program(ui);
    AddFixToGrid(program.Graph, 0, 0);
    FinishGrid(program.Graph);
    const unsigned revision = program.Graph.Revision;
    DrawScatterGraph(program, Lon0, Lat0, 0);
    EXPECT_EQ(program.Graph.Revision, revision);
    EXPECT_TRUE(program.Graph.HasDots) << "the previous picture stays";
}

TEST(FillDensityGrid, ThreadedGridEqualsTheSequentialPass) {
    FixStore store;
    store.Replace();
    std::mt19937_64 random(7);
    std::normal_distribution<double> spread(0, 2e-5); // a few metres
    std::uniform_real_distribution<double> dop(0.5, 4);
    for (int i = 0; i < 60000; ++i) {
        FixRecord fix = Fix(Lat0 + spread(random), Lon0 + spread(random), Day + i * 1e-5);
        fix.Hdop = dop(random);
        if (i % 97 == 0) fix.Time = 0;
        store.Append(fix);
    }
    FilterLimits limits;
    limits.HdopLimit = 3.5;
    const TimeRange range{Day, Day + 0.5};

    ScatterGraph sequential; // the oracle: the offsets of the statistics, one by one
    sequential.GraphRange = 5.0;
    long accepted = 0;
    for (std::size_t i = 0; i < store.Count(); ++i) {
        const FixRecord fix = store.At(i);
        if (!AcceptFix(fix, limits, false, range)) continue;
        ++accepted;
        const AxisOffset metres = AxisOffsets(Lat0, Lon0, fix.Latitude, fix.Longitude);
        AddFixToGrid(sequential, metres.North * 155 / 5.0, metres.East * 155 / 5.0);
    }
    FinishGrid(sequential);
    ASSERT_GT(TotalCount(sequential), 30000);
    ASSERT_LT(TotalCount(sequential), accepted) << "some fixes fall outside the picture";

    for (const GridMethod method : {GridMethod::Exact, GridMethod::Table, GridMethod::Auto}) {
        for (unsigned threads : {1u, 2u, 3u, 0u}) {
            ScatterGraph graph;
            graph.GraphRange = 5.0;
            FillDensityGrid(graph, store, limits, false, range, Lat0, Lon0, {threads, method});
            EXPECT_EQ(graph.Cells, sequential.Cells)
                << threads << " threads, method " << static_cast<int>(method);
            EXPECT_EQ(graph.CountMin, sequential.CountMin);
            EXPECT_EQ(graph.CountMax, sequential.CountMax);
            EXPECT_TRUE(graph.HasDots);
        }
    }
}

// The latitude (or longitude) where an axis offset crosses `pixels`, to the last
// bit: the largest argument whose offset is still below it.
double Crossing(double lat0, double lon0, double range, bool north, double pixels) {
    auto offset = [&](double arg) {
        const PixelOffset p = north ? GraphPixelOffset(lat0, lon0, arg, lon0, range)
                                    : GraphPixelOffset(lat0, lon0, lat0, arg, range);
        return north ? p.North : p.East;
    };
    const double span = range / 111000 * 2 / std::cos(lat0 * 3.141592653589793 / 180);
    double low = (north ? lat0 : lon0) - span, high = (north ? lat0 : lon0) + span;
    while (true) {
        const double mid = low + (high - low) / 2;
        if (mid <= low || mid >= high) return low;
        (offset(mid) < pixels ? low : high) = mid;
    }
}

// Fixes sitting on the half-pixel boundaries, a few bits either side, and
// scattered ones: the looked-up grid must equal the computed one.
TEST(FillDensityGrid, TableGivesTheComputedGridAtEveryBoundary) {
    struct Case {
        double Lat0, Lon0, Range;
        bool Table; // whether the table can serve this reference and range
    } const cases[] = {
        {35.681236, 139.767125, 0.001, true},
        {35.681236, 139.767125, 0.2, true},
        {-33.85678, 151.21529, 5, true},
        {0.0, 0.0, 1000, true},
        {51.4778, -0.0015, 100000, true},
        {88.5, 10.0, 50, true},
        {-12.5, 179.9, 2000, true},
        // The picture crosses the antimeridian, reaches the pole or half the globe:
        // computed throughout.
        {64.1, 179.99999, 20, false},
        {-12.5, -179.99999, 2, false},
        {89.5, 0, 1, false},
        {35.0, 139.0, 2000000, false},
    };
    std::mt19937_64 random(11);
    for (const Case& c : cases) {
        FixStore store;
        store.Replace();
        std::uniform_real_distribution<double> unit(-1, 1);
        const double degrees = c.Range / 111000 * 1.2;
        for (int k = -156; k <= 155; k += (k > -150 && k < 150) ? 7 : 1) {
            for (const bool north : {true, false}) {
                double arg = Crossing(c.Lat0, c.Lon0, c.Range, north, k + 0.5);
                for (int i = 0; i < 3; ++i) arg = std::nextafter(arg, -1000.0);
                for (int i = 0; i < 7; ++i, arg = std::nextafter(arg, 1000.0)) {
                    const double other = (north ? c.Lon0 : c.Lat0) + unit(random) * degrees / 2;
                    store.Append(north ? Fix(arg, other) : Fix(other, arg));
                }
            }
        }
        for (int i = 0; i < 20000; ++i)
            store.Append(Fix(c.Lat0 + unit(random) * degrees, c.Lon0 + unit(random) * degrees));
        store.Append(Fix(-c.Lat0, c.Lon0 + 180)); // far away
        store.Append(Fix(c.Lat0, c.Lon0 > 0 ? c.Lon0 - 360 : c.Lon0 + 360));

        FilterLimits limits;
        const TimeRange range{Day - 1, Day + 1};
        ScatterGraph exact, table;
        exact.GraphRange = table.GraphRange = c.Range;
        FillDensityGrid(exact, store, limits, false, range, c.Lat0, c.Lon0, {1, GridMethod::Exact});
        EXPECT_EQ(FillDensityGrid(table, store, limits, false, range, c.Lat0, c.Lon0,
                                  {1, GridMethod::Table}),
                  c.Table ? GridMethod::Table : GridMethod::Exact)
            << c.Lat0 << ", " << c.Lon0 << " range " << c.Range;
        EXPECT_EQ(table.Cells, exact.Cells) << c.Lat0 << ", " << c.Lon0 << " range " << c.Range;
        EXPECT_GT(TotalCount(exact), 10000) << c.Lat0 << ", " << c.Lon0 << " range " << c.Range;
    }
}

} // namespace
} // namespace fixtally

namespace fixtally {
namespace {

TEST_F(GraphProgram, SetGraphRangeSetsRangeLabelAndRedrawsOnRequest) {
    program.Store.Append(Fix(LatitudeAt(3), Lon0));
    program.Results.ReferencePoint = {Lat0, Lon0, 0};

    const unsigned revision = program.Graph.Revision;
    SetGraphRange(program, 12, false);
    EXPECT_EQ(program.Graph.GraphRange, 5.0);
    EXPECT_EQ(program.Graph.LabelFS, "5m");
    EXPECT_EQ(program.Graph.Revision, revision) << "no redraw asked for";

    SetGraphRange(program, 12, true);
    EXPECT_EQ(program.Graph.Cells[(GraphCentre - 93) * GraphSize + GraphCentre], 1u); // 3 m = 93 px

    SetGraphRange(program, 40, true); // out of the table: the largest range
    EXPECT_EQ(program.Graph.GraphRange, 20000000.0);
    EXPECT_EQ(program.Graph.LabelFS, "         20,000km");
    EXPECT_EQ(program.Graph.Cells[GraphSize * GraphCentre + GraphCentre], 1u);
}

TEST_F(GraphProgram, UnusableTrueCoordinatesKeepThePreviousPicture) {
    program.Store.Append(Fix(Lat0, Lon0));
    Draw();
    const unsigned revision = program.Graph.Revision;
    program.Results.UseTrueReference = true;
    program.Settings.TrueLat = "35.6";
    program.Settings.TrueLon = "139.7";
    program.Settings.TrueAlt = ""; // all three are required
    Draw();
    EXPECT_EQ(program.Graph.Revision, revision);
    EXPECT_TRUE(program.Graph.HasDots);
    ASSERT_EQ(ui.Messages.size(), 1u);
    EXPECT_FALSE(ui.BusyCursor);
    EXPECT_FALSE(ui.RepaintLocked);
}

} // namespace
} // namespace fixtally
