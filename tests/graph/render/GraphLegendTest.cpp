#include "graph/render/GraphLegend.h"

#include "graph/render/GraphRender.h"

#include <gtest/gtest.h>

#include <QGuiApplication>

#include <cstdlib>

namespace fixtally {
namespace {

class GraphLegendPicture : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (QCoreApplication::instance()) return;
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        static int argc = 1;
        static char name[] = "test_graph_render";
        static char* argv[] = {name, nullptr};
        static QGuiApplication application(argc, argv);
    }
};

bool IsRed(QRgb pixel) {
    return qRed(pixel) > 150 && qGreen(pixel) < 90 && qBlue(pixel) < 90;
}

TEST_F(GraphLegendPicture, CirclesOnTheGraphAndABandBelowIt) {
    ScatterGraph graph;
    graph.GraphRange = 10; // 155 pixels for 10 m
    graph.LabelFS = "10m";
    for (int i = 0; i < 5; ++i) AddFixToGrid(graph, 0, 0);
    AddFixToGrid(graph, 3, 4);
    FinishGrid(graph);
    GraphLegend legend;
    legend.ReferenceName = "average";
    legend.Latitude = "35°40'52.43575\"N";
    legend.Longitude = "139°46'01.64657\"E";
    legend.SpreadName = "2drms";
    legend.Spread = 6;
    legend.SpreadText = "6.00000m";
    legend.Cep95 = 4; // 62 pixels
    legend.Cep95Text = "4.00000m";

    const QImage plain = GraphWithColourBar(graph);
    const QImage image = GraphWithLegend(graph, legend);
    ASSERT_EQ(image.width(), GraphSize);
    ASSERT_EQ(image.height(), plain.height() + GraphLegendHeight);

    // The 95 % circle crosses the east axis 62 pixels from the centre, in red.
    bool red = false;
    for (int x = GraphCentre + 59; x <= GraphCentre + 65; ++x)
        red = red || IsRed(image.pixel(x, GraphCentre - 20)) || IsRed(image.pixel(x, GraphCentre));
    EXPECT_TRUE(red);
    // Away from the circles the picture is the window's one.
    for (int y = 0; y < 40; ++y) EXPECT_EQ(image.pixel(150, y), plain.pixel(150, y)) << y;
    EXPECT_EQ(image.pixel(GraphCentre, GraphCentre), plain.pixel(GraphCentre, GraphCentre));

    // The band holds text: dark pixels on every line of it.
    int dark = 0;
    for (int y = plain.height(); y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) dark += qGray(image.pixel(x, y)) < 100;
    EXPECT_GT(dark, 500);
}

} // namespace
} // namespace fixtally
