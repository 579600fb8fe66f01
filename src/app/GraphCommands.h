#pragma once

// The scatter graph's operations on the program state. The grid and the
// drawing parameters live in Program::Graph (graph/ScatterGraph.h); the front
// ends turn them into pictures (graph/render/GraphRender.h).

namespace fixtally {

struct Program;

// Rebuilds the density grid around the reference (lon0, lat0); alt0 is not used.
// A NaN reference leaves only the background.
void DrawScatterGraph(Program& program, double lon0, double lat0, double alt0);

// DrawScatterGraph around the current ReferencePoint (for redraws without a recount).
void RedrawScatterGraph(Program& program);

// The "Pixels" text read into the graph's dot side (the text may be corrected).
void ReadDotSize(Program& program);

// The "Brightest" and "Darkest" texts read into the graph's levels B and D
// (both texts rewritten); the colour bar follows them.
void ReadShadingLevels(Program& program);

// Empties the picture: shading levels read from the settings, grid cleared.
void DrawGraphBackground(Program& program);

// GraphRange from the range table (an index outside 1..32 is clamped), optional
// redraw around the current reference, then the range label text (LabelFS).
void SetGraphRange(Program& program, int index, bool redraw);

} // namespace fixtally
