#include "graph/render/GraphRender.h"

#include "app/Program.h"
#include "platform/HeadlessPlatform.h"

#include <gtest/gtest.h>

#include <QColor>
#include <QImage>

#include <filesystem>
#include <string>

namespace fixtally {
namespace {

int GreyAt(const QImage& image, int x, int y) {
    const QRgb pixel = image.pixel(x, y);
    EXPECT_TRUE(qRed(pixel) == qGreen(pixel) && qGreen(pixel) == qBlue(pixel))
        << "pixel (" << x << ", " << y << ") is not grey";
    return qRed(pixel);
}

// A graph with the given dot side; cells are added by offsets in pixels.
ScatterGraph MakeGraph(int side) {
    ScatterGraph graph;
    std::string pixels = std::to_string(side * side);
    const DotSize dot = ReadDotSize(pixels);
    graph.DotSide = dot.Side;
    graph.DotLo = dot.Lo;
    graph.DotHi = dot.Hi;
    graph.Brightest = 200;
    graph.Darkest = 20;
    return graph;
}

void Add(ScatterGraph& graph, int north, int east, int times = 1) {
    for (int i = 0; i < times; ++i) AddFixToGrid(graph, north, east);
}

TEST(GraphBackground, FrameAxesAndCircles) {
    const QImage picture = DrawGraphBackground();
    ASSERT_EQ(picture.size(), QSize(311, 311));
    for (int i = 0; i < 311; i += 5) {
        EXPECT_EQ(GreyAt(picture, i, 0), 0);
        EXPECT_EQ(GreyAt(picture, i, 310), 0);
        EXPECT_EQ(GreyAt(picture, 0, i), 0);
        EXPECT_EQ(GreyAt(picture, 310, i), 0);
    }
    for (int i = 1; i < 310; i += 7) {
        EXPECT_EQ(GreyAt(picture, i, 155), 128) << "horizontal axis at x = " << i;
        EXPECT_EQ(GreyAt(picture, 155, i), 128) << "vertical axis at y = " << i;
    }
    // The full-range circle touches the frame, the half-range one spans 77..231.
    for (const int p : {1, 309}) {
        EXPECT_EQ(GreyAt(picture, p, 138), 128);
        EXPECT_EQ(GreyAt(picture, 172, p), 128);
    }
    for (const int p : {77, 231}) {
        EXPECT_EQ(GreyAt(picture, p, 150), 128);
        EXPECT_EQ(GreyAt(picture, 150, p), 128);
    }
    EXPECT_EQ(GreyAt(picture, 76, 150), 255);
    EXPECT_EQ(GreyAt(picture, 232, 150), 255);
    // Inside and between the circles the picture is white.
    EXPECT_EQ(GreyAt(picture, 170, 140), 255);
    EXPECT_EQ(GreyAt(picture, 155 + 80, 155 + 20), 255);
    // The corners lie outside the full-range circle: still white inside the frame.
    EXPECT_EQ(GreyAt(picture, 5, 5), 255);
}

TEST(ColourBar, RunsFromBrightestToDarkest) {
    ScatterGraph graph;
    graph.Brightest = 200;
    graph.Darkest = 20;
    const QImage bar = DrawColourBar(graph);
    ASSERT_EQ(bar.size(), QSize(311, 5));
    for (int y = 0; y < 5; ++y) {
        EXPECT_EQ(GreyAt(bar, 0, y), 200);
        EXPECT_EQ(GreyAt(bar, 155, y), 200 - 180 * 155 / 310);
        EXPECT_EQ(GreyAt(bar, 309, y), 200 - 180 * 309 / 310);
        EXPECT_EQ(GreyAt(bar, 310, y), 20);
    }
    for (int x = 1; x < 311; ++x) EXPECT_LE(GreyAt(bar, x, 2), GreyAt(bar, x - 1, 2));
}

TEST(ScatterPicture, AllFixesOnOneCellTakeTheDarkestLevel) {
    ScatterGraph graph = MakeGraph(1);
    Add(graph, 30, 40, 12);
    FinishGrid(graph);
    const QImage picture = DrawScatterGraph(graph);
    EXPECT_EQ(GreyAt(picture, 195, 125), 20);
    EXPECT_EQ(GreyAt(picture, 196, 125), 255);
    EXPECT_EQ(GreyAt(picture, 195, 126), 255);
}

TEST(ScatterPicture, CutAt155Pixels) {
    ScatterGraph graph = MakeGraph(1);
    EXPECT_TRUE(AddFixToGrid(graph, 20, 154.5));   // rounds to 154: x = 309
    EXPECT_FALSE(AddFixToGrid(graph, 40, 155.5));  // rounds to 156: outside
    EXPECT_TRUE(AddFixToGrid(graph, -154.5, -30)); // y = 309
    FinishGrid(graph);
    const QImage picture = DrawScatterGraph(graph);
    EXPECT_EQ(GreyAt(picture, 309, 135), 20);
    EXPECT_EQ(GreyAt(picture, 309, 115), 255);
    EXPECT_EQ(GreyAt(picture, 125, 309), 20);
}

TEST(ScatterPicture, DotShapes) {
    struct Case {
        int Side, Lo, Hi;
    } const cases[] = {{1, 0, 0}, {2, 0, 1}, {3, -1, 1}, {4, -1, 2}, {5, -2, 2}, {8, -3, 4}};
    for (const Case& c : cases) {
        ScatterGraph graph = MakeGraph(c.Side);
        Add(graph, 20, 100); // pixel (255, 135), clear of circles and axes
        FinishGrid(graph);
        const QImage picture = DrawScatterGraph(graph);
        for (int dy = -6; dy <= 6; ++dy) {
            for (int dx = -6; dx <= 6; ++dx) {
                const bool inDot = dx >= c.Lo && dx <= c.Hi && dy >= c.Lo && dy <= c.Hi;
                EXPECT_EQ(GreyAt(picture, 255 + dx, 135 + dy), inDot ? 20 : 255)
                    << "side " << c.Side << " offset (" << dx << ", " << dy << ")";
            }
        }
    }
}

TEST(ScatterPicture, LighterDotsLeaveGridLinesAndFrameVisible) {
    ScatterGraph graph = MakeGraph(3);
    Add(graph, 0, 40);      // on the horizontal axis, count 1: level B = 200
    Add(graph, 100, -154);  // next to the left frame, count 1
    Add(graph, -60, 80, 2); // x = 235, level between B and D, drawn first
    Add(graph, -60, 81, 3); // x = 236, the darkest cell, overlaps it
    FinishGrid(graph);
    ASSERT_EQ(CellLevel(graph, 1), 200);
    const int between = CellLevel(graph, 2);
    ASSERT_EQ(between, 110);
    const QImage picture = DrawScatterGraph(graph);
    EXPECT_EQ(GreyAt(picture, 195, 155), 128) << "axis under a lighter dot";
    EXPECT_EQ(GreyAt(picture, 195, 154), 200);
    EXPECT_EQ(GreyAt(picture, 195, 156), 200);
    EXPECT_EQ(GreyAt(picture, 0, 55), 0) << "frame under a lighter dot";
    EXPECT_EQ(GreyAt(picture, 1, 55), 200);
    EXPECT_EQ(GreyAt(picture, 2, 55), 200);
    // Where the two dots overlap the darker one wins.
    EXPECT_EQ(GreyAt(picture, 234, 215), between);
    EXPECT_EQ(GreyAt(picture, 235, 215), 20);
    EXPECT_EQ(GreyAt(picture, 236, 215), 20);
    EXPECT_EQ(GreyAt(picture, 237, 215), 20);
    EXPECT_EQ(GreyAt(picture, 238, 215), 255);
}

TEST(ScatterPicture, MonotoneDrawsBlackOverEverything) {
    for (int side : {1, 3}) {
        ScatterGraph graph = MakeGraph(side);
        graph.Monotone = true;
        Add(graph, 0, 40);
        Add(graph, 10, 10, 5);
        FinishGrid(graph);
        const QImage picture = DrawScatterGraph(graph);
        EXPECT_EQ(GreyAt(picture, 195, 155), 0) << "side " << side;
        EXPECT_EQ(GreyAt(picture, 165, 145), 0) << "side " << side;
        EXPECT_EQ(GreyAt(picture, 196, 154), side == 3 ? 0 : 255);
    }
}

TEST(ScatterPicture, EmptyGridShowsTheBackground) {
    ScatterGraph graph = MakeGraph(3);
    EXPECT_EQ(DrawScatterGraph(graph), DrawGraphBackground());
}

TEST(GraphPng, WritesGraphAndColourBarUnlessMonotone) {
    HeadlessPlatform ui;
    Program program(ui);
    program.Graph = MakeGraph(3);
    Add(program.Graph, 5, 5, 2);
    Add(program.Graph, -5, 5);
    FinishGrid(program.Graph);
    const std::filesystem::path folder =
        std::filesystem::path(FIXTALLY_BINARY_DIR) / "graph-render-test";
    std::filesystem::create_directories(folder);

    const std::string shaded = (folder / "shaded.png").string();
    ASSERT_TRUE(WriteGraphPng(program.Graph, shaded));
    QImage read(QString::fromStdString(shaded));
    ASSERT_EQ(read.size(), QSize(311, 316));
    read = read.convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(read.copy(0, 0, 311, 311), DrawScatterGraph(program.Graph));
    EXPECT_EQ(read.copy(0, 311, 311, 5), DrawColourBar(program.Graph));

    program.Graph.Monotone = true;
    const std::string mono = (folder / "mono.png").string();
    ASSERT_TRUE(WriteGraphPng(program.Graph, mono));
    EXPECT_EQ(QImage(QString::fromStdString(mono)).size(), QSize(311, 311));

    EXPECT_FALSE(WriteGraphPng(program.Graph, (folder / "no-such-folder" / "x.png").string()));
}

} // namespace
} // namespace fixtally
