#include "app/GraphCommands.h"

#include "app/Program.h"
#include "app/TrueCoordinates.h"
#include "graph/DensityGrid.h"
#include "graph/RangeTable.h"

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

void ReadDotSize(Program& program) {
    const DotSize dot = ReadDotSize(program.Settings.GPixels);
    program.Graph.DotSide = dot.Side;
    program.Graph.DotLo = dot.Lo;
    program.Graph.DotHi = dot.Hi;
}

void ReadShadingLevels(Program& program) {
    const ShadingLevels levels =
        ReadShadingLevels(program.Settings.MiniColor, program.Settings.MaxColor);
    program.Graph.Brightest = levels.Brightest;
    program.Graph.Darkest = levels.Darkest;
    ++program.Graph.Revision;
}

void DrawGraphBackground(Program& program) {
    ReadShadingLevels(program);
    ClearGrid(program.Graph);
}

void DrawScatterGraph(Program& program, double lon0, double lat0, double /*alt0*/) {
    if (!program.Store.Exists()) return;
    DrawingGuard guard(program.Ui);

    // Unusable true coordinates keep the previous picture; the drawing itself
    // still uses the reference passed in.
    if (program.Results.UseTrueReference && ReadTrueCoordinates(program)) return;

    ScatterGraph& graph = program.Graph;
    DrawGraphBackground(program);
    // The dot size and the monotone choice are taken at every drawing, so that
    // settings changed by any route (INI, command line) show.
    ReadDotSize(program);
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
