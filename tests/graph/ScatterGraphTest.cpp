#include "graph/ScatterGraph.h"
#include "app/GraphCommands.h"
#include "graph/DensityGrid.h"
#include "graph/FormatGrouped.h"

#include "app/Program.h"
#include "platform/HeadlessPlatform.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>

namespace fixtally {
namespace {

GraphCounter CellAt(const ScatterGraph& graph, int north, int east) {
    return graph
        .Cells[static_cast<std::size_t>((GraphCentre - north) * GraphSize + GraphCentre + east)];
}

long TotalCount(const ScatterGraph& graph) {
    long total = 0;
    for (GraphCounter c : graph.Cells) total += c;
    return total;
}

// --- dot size -------------------------------------------------------------------------------

struct DotCase {
    const char* Text;
    int Side, Lo, Hi;
    const char* TextAfter;
};

TEST(ReadDotSize, SideOffsetsAndTextCorrections) {
    const DotCase cases[] = {
        {"1", 1, 0, 0, "1"},
        {"3", 1, 0, 0, "3"},
        {"4", 2, 0, 1, "4"},
        {"8", 2, 0, 1, "8"},
        {"9", 3, -1, 1, "9"},
        {"15", 3, -1, 1, "15"},
        {"16", 4, -1, 2, "16"},
        {"24", 4, -1, 2, "24"},
        {"25", 5, -2, 2, "25"},
        {"35", 5, -2, 2, "35"},
        {"36", 6, -2, 3, "36"},
        {"48", 6, -2, 3, "48"},
        {"49", 7, -3, 3, "49"},
        {"50", 7, -3, 3, "50"},
        {"63", 7, -3, 3, "63"},
        {"64", 8, -3, 4, "64"},
        {"80", 8, -3, 4, "80"},
        {"81", 8, -3, 4, "64"},
        {"100", 8, -3, 4, "64"},
        {"0", 1, 0, 0, "1"},
        {"abc", 3, -1, 1, "abc"},
        {"-4", 3, -1, 1, "-4"},
        {"", 3, -1, 1, ""},
        {"9.5", 3, -1, 1, "9.5"},
        {"99999999999", 3, -1, 1, "99999999999"},
    };
    for (const DotCase& c : cases) {
        std::string text = c.Text;
        const DotSize dot = ReadDotSize(text);
        EXPECT_EQ(dot.Side, c.Side) << "text \"" << c.Text << '"';
        EXPECT_EQ(dot.Lo, c.Lo) << "text \"" << c.Text << '"';
        EXPECT_EQ(dot.Hi, c.Hi) << "text \"" << c.Text << '"';
        EXPECT_EQ(text, c.TextAfter) << "text \"" << c.Text << '"';
    }
}

// --- shading levels -------------------------------------------------------------------------

struct ShadingCase {
    const char* Brightest;
    const char* Darkest;
    int B, D;
};

TEST(ReadShadingLevels, ClampSwapAndMinimumSpread) {
    const ShadingCase cases[] = {
        {"200", "20", 200, 20}, // defaults
        {"10", "12", 22, 10},   // swapped, then too close below 20: B raised
        {"100", "98", 100, 88}, // too close at 20 or more: D lowered
        {"300", "-5", 255, 0},  // clamped
        {"255", "255", 255, 245}, {"0", "0", 10, 0},
        {"20", "18", 20, 8},      {"abc", "20", 20, 0}, // an unreadable text counts as 0
        {" 150 ", "30", 150, 30},
    };
    for (const ShadingCase& c : cases) {
        std::string b = c.Brightest, d = c.Darkest;
        const ShadingLevels levels = ReadShadingLevels(b, d);
        EXPECT_EQ(levels.Brightest, c.B) << c.Brightest << " / " << c.Darkest;
        EXPECT_EQ(levels.Darkest, c.D) << c.Brightest << " / " << c.Darkest;
        EXPECT_EQ(b, std::to_string(c.B));
        EXPECT_EQ(d, std::to_string(c.D));
    }
}

// --- grid -----------------------------------------------------------------------------------

TEST(DensityGrid, RoundsHalvesToEvenAndCutsAt155Pixels) {
    struct Case {
        double North, East;
        bool Drawn;
        int CellNorth, CellEast;
    } const cases[] = {
        {0, 154.5, true, 0, 154},    {0, 155.5, false, 0, 0},   {-154.5, 0, true, -154, 0},
        {0, -155.5, false, 0, 0},    {154.49, 0, true, 154, 0}, {0, 154.51, false, 0, 0},
        {0.5, 1.5, true, 0, 2},      {2.5, -2.5, true, 2, -2},  {-0.5, 0.49, true, 0, 0},
        {155.0, 0, false, 0, 0},     {1e300, 0, false, 0, 0},   {NAN, 0, false, 0, 0},
        {0, -INFINITY, false, 0, 0},
    };
    for (const Case& c : cases) {
        ScatterGraph graph;
        EXPECT_EQ(AddFixToGrid(graph, c.North, c.East), c.Drawn) << c.North << ", " << c.East;
        EXPECT_EQ(TotalCount(graph), c.Drawn ? 1 : 0);
        if (c.Drawn) {
            EXPECT_EQ(CellAt(graph, c.CellNorth, c.CellEast), 1u);
        }
    }
}

TEST(DensityGrid, LevelsFromCounts) {
    ScatterGraph graph;
    graph.Brightest = 200;
    graph.Darkest = 20;
    for (int i = 0; i < 5; ++i) AddFixToGrid(graph, 3, 4);
    FinishGrid(graph);
    EXPECT_EQ(graph.CountMin, 5u);
    EXPECT_EQ(graph.CountMax, 5u);
    EXPECT_EQ(CellLevel(graph, 5), 20) << "all fixes on one cell take the darkest level";

    AddFixToGrid(graph, -10, 0);
    for (int i = 0; i < 2; ++i) AddFixToGrid(graph, -20, 0);
    FinishGrid(graph);
    EXPECT_EQ(graph.CountMin, 1u);
    EXPECT_EQ(graph.CountMax, 5u);
    EXPECT_EQ(CellLevel(graph, 1), 200);
    EXPECT_EQ(CellLevel(graph, 2), 200 - 1 * 180 / 4);
    EXPECT_EQ(CellLevel(graph, 5), 20);
}

TEST(DensityGrid, CellBeyond16BitsKeepsItsCount) {
    ScatterGraph graph;
    for (int i = 0; i < 70000; ++i) AddFixToGrid(graph, 0, 0);
    AddFixToGrid(graph, 1, 1);
    FinishGrid(graph);
    EXPECT_EQ(CellAt(graph, 0, 0), 70000u);
    EXPECT_EQ(graph.CountMax, 70000u);
    EXPECT_EQ(CellLevel(graph, 70000), graph.Darkest);
    EXPECT_EQ(CellLevel(graph, 1), graph.Brightest);
}

TEST(DensityGrid, ClearEmptiesCountersAndExtremes) {
    ScatterGraph graph;
    AddFixToGrid(graph, 1, 1);
    FinishGrid(graph);
    ClearGrid(graph);
    EXPECT_EQ(TotalCount(graph), 0);
    EXPECT_FALSE(graph.HasDots);
    EXPECT_EQ(graph.CountMax, 0u);
    EXPECT_EQ(graph.CountMin, 2147483647u);
}

// --- grouped numbers ------------------------------------------------------------------------

TEST(FormatGrouped, GroupsThousandsAndRightAligns) {
    struct Case {
        double Value;
        int Decimals;
        const char* Text;
    } const cases[] = {
        {1, 0, "              1"},
        {999, 0, "            999"},
        {1000, 0, "          1,000"},
        {20000, 0, "         20,000"},
        {100000, 0, "        100,000"},
        {10000000, 0, "     10,000,000"},
        {-1000, 0, "         -1,000"},
        {-100, 0, "           -100"},
        {-100000, 0, "       -100,000"},
        {1234567.891, 2, "   1,234,567.89"},
        {0.5, 1, "            0.5"},
        {-1234.5, 1, "       -1,234.5"},
        {1234567890123456.0, 0, "1,234,567,890,123,456"},
        {NAN, 0, "NAN"},
        {INFINITY, 2, "NAN"},
    };
    for (const Case& c : cases) EXPECT_EQ(FormatGrouped(c.Value, c.Decimals), c.Text) << c.Value;
}

} // namespace
} // namespace fixtally
