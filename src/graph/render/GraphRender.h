#pragma once

#include "graph/ScatterGraph.h"

#include <QByteArray>
#include <QImage>

#include <string>

namespace fixtally {

// The empty square picture (311 x 311, RGB32): white, the full-range and
// half-range circles and the two axes in grey 128, a black 1-pixel frame.
QImage DrawGraphBackground();

// The shading scale (311 x 5): brightest level B at x = 0 down to darkest D at x = 310.
QImage DrawColourBar(const ScatterGraph& graph);

// The background with one dot per occupied cell: grey by density with the
// darker colour winning, or black in monotone mode.
QImage DrawScatterGraph(const ScatterGraph& graph);

// The graph with the colour bar below it unless the graph is monotone.
QImage GraphWithColourBar(const ScatterGraph& graph);

// GraphWithColourBar of the graph as the bytes of a PNG file; empty when encoding fails.
QByteArray EncodeGraphPng(const ScatterGraph& graph);

// Writes EncodeGraphPng of the graph to path, whole or not at all (a failure leaves an
// existing file as it was); false with the system's reason when it cannot be written.
bool WriteGraphPng(const ScatterGraph& graph, const std::string& path,
                   std::string* reason = nullptr);

} // namespace fixtally
