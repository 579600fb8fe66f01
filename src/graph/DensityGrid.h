#pragma once

#include "fixdata/FixStore.h"
#include "fixdata/LoadedLog.h"
#include "graph/ScatterGraph.h"
#include "settings/FilterLimits.h"

namespace fixtally {

// Signed pixel offsets of a position from the reference (lat0, lon0) at the
// graph's scale, in the AxisOffsets convention: north along the reference
// meridian, east along its latitude, each metres x 155 / range, not rounded.
struct PixelOffset {
    double North;
    double East;
};
PixelOffset GraphPixelOffset(double lat0, double lon0, double lat, double lon, double graphRange);

// How the grid pass finds each fix's cell. Exact computes the two distances of
// every fix. Table first finds, per axis, the latitudes and longitudes where
// the rounded pixel changes (by bisection on the same distance function) and
// looks fixes up there; fixes within a hair of such a change, or far away, are
// still computed exactly, so both give the same grid. Auto takes the table for
// large stores when the reference and range allow it.
enum class GridMethod { Auto, Exact, Table };

struct GridPass {
    unsigned Threads = 0; // 0: as many as the machine has
    GridMethod Method = GridMethod::Auto;
};

// Clears the grid, counts every fix of the store that the filter accepts at its
// rounded pixel offset from (lat0, lon0), and sets the extremes. Large stores
// are split between threads; each counts into a grid of its own and the grids
// are added, so the result is exactly the one a single sequential pass gives.
// Returns the method used (Exact or Table).
GridMethod FillDensityGrid(ScatterGraph& graph, const FixStore& store, const FilterLimits& limits,
                           bool isRtklibLog, const TimeRange& countRange, double lat0, double lon0,
                           GridPass pass = {});

} // namespace fixtally
