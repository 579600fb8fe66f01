#include "graph/GraphSub.h"

#include "app/Program.h"
#include "graph/DensityGrid.h"
#include "graph/RangeTable.h"
#include "stats/TrueCoordinates.h"

#include <cmath>

namespace fixtally {
namespace {

// Restores the cursor and the repaint lock on every way out of a drawing.
class DrawingGuard {
public:
    explicit DrawingGuard(Platform& ui) : ui_(ui) {
        ui_.SetBusyCursor(true);
        ui_.LockRepaint(true);
    }
    ~DrawingGuard() {
        ui_.LockRepaint(false);
        ui_.SetBusyCursor(false);
    }
    DrawingGuard(const DrawingGuard&) = delete;
    DrawingGuard& operator=(const DrawingGuard&) = delete;

private:
    Platform& ui_;
};

} // namespace

void DrawGraphBackground(Program& program) {
    ScatterGraph& graph = program.Graph;
    const ShadingLevels levels =
        ReadShadingLevels(program.Settings.MiniColor, program.Settings.MaxColor);
    graph.Brightest = levels.Brightest;
    graph.Darkest = levels.Darkest;
    ClearGrid(graph);
    ++graph.Revision;
}

void DrawScatterGraph(Program& program, double lon0, double lat0, double /*alt0*/) {
    if (!program.Store.Exists()) return;
    DrawingGuard guard(program.Ui);

    // Unusable true coordinates keep the previous picture; the drawing itself
    // still uses the reference passed in.
    if (program.Results.UseTrueReference && ReadTrueCoordinates(program)) return;

    ScatterGraph& graph = program.Graph;
    DrawGraphBackground(program);
    const DotSize dot = ReadDotSize(program.Settings.GPixels);
    graph.DotSide = dot.Side;
    graph.DotLo = dot.Lo;
    graph.DotHi = dot.Hi;
    graph.Monotone = program.Settings.Monotone;
    program.Limits = ReadFilterLimits(program.Settings);
    if (std::isnan(lon0) || std::isnan(lat0)) return;

    FillDensityGrid(graph, program.Store, program.Limits, program.Log.IsRtklibLog,
                    program.CountRange, lat0, lon0);
}

void RedrawScatterGraph(Program& program) {
    const GeoPoint& reference = program.Results.ReferencePoint;
    DrawScatterGraph(program, reference.Longitude, reference.Latitude, reference.Altitude);
}

void SetGraphRange(Program& program, int index, bool redraw) {
    program.Graph.GraphRange = RangeOfIndex(index);
    if (redraw) RedrawScatterGraph(program);
    program.Graph.LabelFS = RangeLabelText(program.Graph.GraphRange);
}

} // namespace fixtally
