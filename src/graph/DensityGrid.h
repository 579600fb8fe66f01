#pragma once

#include "fixdata/FixStore.h"
#include "fixdata/LoadedLog.h"
#include "graph/ScatterGraph.h"
#include "settings/FilterLimits.h"

namespace fixtally {

// Signed pixel offsets of a position from the reference (lat0, lon0) at the
// graph's scale: north along the reference meridian, east along its latitude,
// each metres x 155 / range, not yet rounded.
struct PixelOffset {
    double North;
    double East;
};
PixelOffset GraphPixelOffset(double lat0, double lon0, double lat, double lon, double graphRange);

// Clears the grid, counts every fix of the store that the filter accepts at its
// pixel offset from (lat0, lon0), and sets the extremes. Large stores are split
// between worker threads (threads = 0: as many as the machine has); each counts
// into a grid of its own and the grids are added, so the result is exactly the
// one a single sequential pass gives.
void FillDensityGrid(ScatterGraph& graph, const FixStore& store, const FilterLimits& limits,
                     bool isRtklibLog, const TimeRange& countRange, double lat0, double lon0,
                     unsigned threads = 0);

} // namespace fixtally
