#pragma once

// The scatter graph's operations on the program state. The grid and the
// drawing parameters live in Program::Graph (graph/ScatterGraph.h); the front
// ends turn them into pictures (graph/render/GraphRender.h).

namespace fixtally {

struct Program;

// Rebuilds the density grid around the reference (lon0, lat0); alt0 is not used.
// A NaN reference leaves only the background.
void DrawScatterGraph(Program& program, double lon0, double lat0, double alt0);

// Empties the picture: shading levels read from the settings, grid cleared.
void DrawGraphBackground(Program& program);

// GraphRange from the range table (index in 1..32), optional redraw around the
// current reference, then the range label text.
void SetGraphRange(Program& program, int index, bool redraw);

} // namespace fixtally
