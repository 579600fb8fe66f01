#pragma once

#include "fixdata/FixRecord.h"
#include "graph/ScatterGraph.h"

#include <QImage>

#include <string>

namespace fixtally {

// What the legend band under the scatter graph says, in the texts the window and the
// report show.
struct GraphLegend {
    std::string ReferenceName; // "average" or "true point"
    std::string Latitude;      // the reference as the report shows it
    std::string Longitude;
    std::string SpreadName; // "2drms" or "CEP(50%)"
    double Spread = NaN;    // metres, as the report gives it
    std::string SpreadText; // "5.50130m"
    double Cep95 = NaN;     // metres, the empirical 95 % radius
    std::string Cep95Text;
};

inline constexpr int GraphLegendHeight = 132;

// The graph with its colour bar (GraphWithColourBar), the circles of the spread and of the
// empirical 95 % radius drawn dashed on it, and a legend band below: the range of the
// edge and of the inner circle, a north arrow, the reference, the two figures beside the
// line of their circle, and what the ends of the colour bar mean. Needs a QGuiApplication
// for its text.
QImage GraphWithLegend(const ScatterGraph& graph, const GraphLegend& legend);

} // namespace fixtally
